#pragma once

#include <QByteArray>
#include <QString>

// The body of an RTF catalogue whose text-only reading is `text`: paragraphs
// end in '\n', a line break within one is U+2028, every character outside
// ASCII is written as \uN (a surrogate pair as two).
inline QByteArray rtfBody(const QString &text)
{
    QByteArray body;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            body += "\\par\n";
        else if (u == u'\t')
            body += "\\tab ";
        else if (u == 0x2028)
            body += "\\line ";
        else if (u == u'\\' || u == u'{' || u == u'}')
            body += '\\' + char(u);
        else if (u >= 0x20 && u < 0x7F)
            body += char(u);
        else
            body += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    return body;
}
