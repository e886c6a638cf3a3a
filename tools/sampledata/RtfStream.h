#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <initializer_list>

namespace fosdat::sampledata
{

// Writes RTF the way Windows word processors do: text in the ANSI code page
// 1251 as \'hh escapes, typographic punctuation as \uN with its code-page
// fallback, CRLF line ends, and lines wrapped before they pass 255 bytes at
// a control word, a group or a blank, never inside a control word or an
// escape.
class RtfStream
{
public:
    static constexpr qsizetype MaxLineLength = 255;

    void openGroup();
    void closeGroup();
    // A control word with its parameter, without the backslash: "fs20".
    void control(QByteArrayView word);
    void controls(std::initializer_list<QByteArrayView> words);
    // The "\*" that marks an optional destination.
    void ignorable();
    void text(QStringView text);
    // The line end that writers put after a paragraph mark; it also ends a
    // pending control word.
    void lineBreak();

    QByteArray take();

private:
    enum class Break { Before, After, Never };
    void flushControl(bool needsBlank);
    void append(QByteArrayView unit, Break preferred);
    void appendChar(QChar ch);

    QByteArray m_out;
    QByteArray m_pendingControl;
    qsizetype m_lineStart = 0;
    qsizetype m_breakAt = -1;
};

} // namespace fosdat::sampledata
