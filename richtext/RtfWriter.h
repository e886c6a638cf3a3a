#pragma once

#include <QByteArray>
#include <QTextDocument>

namespace fosdat::rtf
{

// Writes the whole document as RTF (Windows-1251 based). Same document, same bytes.
QByteArray write(const QTextDocument &document);

} // namespace fosdat::rtf
