#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace fosdat::rtf
{

// Reads only the text, all of it, as a record (RtfRecord.h) holds it: as its
// documents' blocks show it (a line break within a paragraph as U+2028; the
// same paragraphs broken, the same word breaks put in), joined by '\n', with
// pictures left out; nothing when the bytes are not RTF. Footnotes follow the
// text as in the document. Much faster than a record, as no formats are kept; bounded by the size
// of the input alone. Needs Qt Core alone.
std::optional<QString> readText(QByteArrayView bytes);

} // namespace fosdat::rtf
