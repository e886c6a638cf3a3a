#pragma once

#include <QByteArray>

namespace fosdat::sampledata
{

struct Catalogue;

// The catalogue as an RTF document in code page 1251, laid out as a word
// processor saves it: font, color and style tables, a centred heading, a
// note for the reader, bold family headings and one paragraph per genus
// with its name in bold.
QByteArray writeCatalogue(const Catalogue &catalogue);

} // namespace fosdat::sampledata
