#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <string_view>

namespace fosdat::rtf
{

// The byte level of the RTF writer: control words, groups, escaped text and
// hex data, appended to one growing buffer. It knows nothing of documents.
//
// Lines are broken with CR LF once they pass a length limit, always where a
// reader ignores the break: before a control word, symbol or brace, or after
// a space of the text. Never directly after a control word that text
// follows, where a reader could take the break for the word's delimiter.
class RtfOutput
{
public:
    explicit RtfOutput(qsizetype expectedSize);

    void openGroup();
    void closeGroup();
    // "\name", or "\nameN" with a parameter.
    void word(std::string_view name);
    void word(std::string_view name, int parameter);
    // Document text: escapes braces and backslashes, writes Windows-1251
    // characters as \'hh and all others as \uN? (UTF-16 units, so characters
    // beyond the BMP become surrogate pairs), and the special characters as
    // their control words or symbols.
    void text(QStringView text);
    // Binary data as hex digits, broken into lines.
    void hex(QByteArrayView data);
    void lineBreak();

    // The bytes written so far; the output is left empty.
    QByteArray take();

private:
    char *reserve(qsizetype count);
    void commit(const char *end) { m_size = end - m_bytes.constData(); }
    qsizetype lineLength() const { return m_size - m_lineStart; }
    void breakLongLine();

    QByteArray m_bytes; // sized ahead; only the first m_size bytes are written
    qsizetype m_size = 0;
    qsizetype m_lineStart = 0;
    bool m_wordOpen = false; // a control word ends the output so far
};

} // namespace fosdat::rtf
