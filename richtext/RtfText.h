#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace fosdat::rtf
{

// Reads only the text, all of it: as read() (RtfReader.h) would put it in the
// document's blocks (a line break within a paragraph as U+2028, as there; the
// same paragraphs broken, the same word breaks put in) but never cut, joined
// by '\n', with pictures left out; nothing when the bytes are not RTF.
// Footnotes follow the text as in the document. Much faster than read(), as
// no document is built; bounded by the size of the input alone. Needs Qt
// Core alone.
std::optional<QString> readText(QByteArrayView bytes);

} // namespace fosdat::rtf
