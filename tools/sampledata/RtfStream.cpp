#include "RtfStream.h"

#include <QHash>
#include <QStringDecoder>
#include <utility>

namespace fosdat::sampledata
{

namespace
{

// Code-page 1251 byte of each character above ASCII that the code page has.
const QHash<char16_t, uchar> &cp1251Bytes()
{
    static const QHash<char16_t, uchar> table = [] {
        QHash<char16_t, uchar> bytes;
        QStringDecoder decode("windows-1251");
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const char c = char(byte);
            const QString ch = decode(QByteArrayView(&c, 1));
            if (ch.size() == 1 && ch != QChar::ReplacementCharacter)
                bytes.insert(ch.front().unicode(), uchar(byte));
        }
        return bytes;
    }();
    return table;
}

// Punctuation that writers store as Unicode with the code-page byte as the
// fallback for readers that do not know \u.
bool writtenAsUnicode(char16_t ch)
{
    return ch == u'\u2013' || ch == u'\u2014' || ch == u'\u00ab' || ch == u'\u00bb' ||
           ch == u'\u2116';
}

QByteArray hexEscape(uchar byte)
{
    return "\\'" + QByteArray::number(byte, 16).rightJustified(2, '0');
}

} // namespace

void RtfStream::openGroup()
{
    flushControl(false);
    append("{", Break::Before);
}

void RtfStream::closeGroup()
{
    flushControl(false);
    append("}", Break::Never);
}

void RtfStream::control(QByteArrayView word)
{
    flushControl(false);
    m_pendingControl = '\\' + word.toByteArray();
}

void RtfStream::controls(std::initializer_list<QByteArrayView> words)
{
    for (QByteArrayView word : words)
        control(word);
}

void RtfStream::ignorable()
{
    flushControl(false);
    append("\\*", Break::Never);
}

void RtfStream::text(QStringView text)
{
    if (text.isEmpty())
        return;
    // An ASCII letter, digit, hyphen or blank would run on into the control
    // word; anything else is written as an escape or ends it by itself.
    const char16_t first = text.front().unicode();
    flushControl((first < 0x80 && QChar::isLetterOrNumber(first)) || first == u'-' ||
                 first == u' ');
    for (const QChar ch : text)
        appendChar(ch);
}

void RtfStream::lineBreak()
{
    flushControl(false);
    m_out += "\r\n";
    m_lineStart = m_out.size();
    m_breakAt = -1;
}

QByteArray RtfStream::take()
{
    flushControl(false);
    m_lineStart = 0;
    m_breakAt = -1;
    return std::exchange(m_out, {});
}

// A control word is written once the next item is known: where the text
// after it needs one, it takes the blank that ends it, on the same line.
void RtfStream::flushControl(bool needsBlank)
{
    if (m_pendingControl.isEmpty())
        return;
    if (needsBlank)
        m_pendingControl += ' ';
    append(m_pendingControl, Break::Before);
    m_pendingControl.clear();
}

void RtfStream::append(QByteArrayView unit, Break preferred)
{
    if (m_out.size() - m_lineStart + unit.size() > MaxLineLength) {
        // Readers ignore CR and LF outside control words, so a line may end
        // between any two units; a blank or a control word just looks better.
        const qsizetype at = m_breakAt > m_lineStart ? m_breakAt : m_out.size();
        m_out.insert(at, "\r\n");
        m_lineStart = at + 2;
        m_breakAt = -1;
    }
    if (preferred == Break::Before)
        m_breakAt = m_out.size();
    m_out += unit;
    if (preferred == Break::After)
        m_breakAt = m_out.size();
}

void RtfStream::appendChar(QChar ch)
{
    const char16_t code = ch.unicode();
    if (code == u'\\' || code == u'{' || code == u'}') {
        const char escaped[] = {'\\', char(code)};
        append(QByteArrayView(escaped, 2), Break::Never);
    } else if (code >= 0x20 && code < 0x7f) {
        const char c = char(code);
        append(QByteArrayView(&c, 1), code == u' ' ? Break::After : Break::Never);
    } else if (const auto byte = cp1251Bytes().constFind(code); byte != cp1251Bytes().cend()) {
        if (writtenAsUnicode(code))
            append("\\u" + QByteArray::number(code) + hexEscape(*byte), Break::Before);
        else
            append(hexEscape(*byte), Break::Never);
    } else {
        // \u takes a signed 16-bit number.
        append("\\u" + QByteArray::number(qint16(code)) + '?', Break::Before);
    }
}

} // namespace fosdat::sampledata
