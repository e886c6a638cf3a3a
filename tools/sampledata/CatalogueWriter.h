#pragma once

#include <QByteArray>

namespace fosdat::sampledata
{

struct Catalogue;

// How much formatting each genus's paragraph carries.
enum class EntryFormatting {
    Plain, // its name in bold, as in the sample data set
    // As much as a real catalogue's may carry: the name bold in a font and
    // color of its own, an author and year in italics with a superscript
    // mark, the range underlined in color, the references smaller in a font
    // of their own, each part in a group of its own as a word processor
    // writes it: eight changes of format and about 170 bytes a genus.
    Rich,
};

// The catalogue as an RTF document in code page 1251, laid out as a word
// processor saves it: font, color and style tables, a centred heading, a
// note for the reader, bold family headings and one paragraph per genus
// with its name in bold.
QByteArray writeCatalogue(const Catalogue &catalogue,
                          EntryFormatting formatting = EntryFormatting::Plain);

} // namespace fosdat::sampledata
