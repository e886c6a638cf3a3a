#pragma once

#include <QByteArray>
#include <QList>

namespace fosdat::sampledata
{

struct Catalogue;

// How much formatting each genus's paragraph carries.
enum class EntryFormatting {
    Plain, // its name in bold, as in the sample data set
    // As much as a real catalogue's may carry: the name bold in a font and
    // color of its own, the author and year in italics, the range underlined
    // in color, the references smaller in a font of their own, each part in
    // a group of its own as a word processor writes it: about eight changes
    // of format a genus.
    Rich,
};

// The catalogue as an RTF document in code page 1251, laid out as a word
// processor saves it: font, color and style tables, a centred heading,
// notes for the reader, the class, bold order and family headings, one
// paragraph per genus with its name in bold and a line for each synonym.
// Letters outside the code page are written as \uN with "?"
// for readers that do not know it. `genusLines`, when given, receives the
// line of each genus entry in the document's text (1-based, a page break
// counting as a line, as fosdat-rtf2txt prints it), in the catalogue's order.
QByteArray writeCatalogue(const Catalogue &catalogue,
                          EntryFormatting formatting = EntryFormatting::Plain,
                          QList<int> *genusLines = nullptr);

} // namespace fosdat::sampledata
