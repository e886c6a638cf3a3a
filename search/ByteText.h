#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace fosdat
{

// Plain text held in one byte a character, with a copy whose letter case is
// folded, so that a search scans bytes instead of comparing characters one
// by one, ignoring case or not. The bytes are ASCII and the upper half of the
// Windows Cyrillic code page, in which the catalogues are written; a text
// with any other character is not held this way. A position in the bytes is
// the same as in the text they came from, and the two copies together take
// no more memory than the text as a QString.
class ByteText
{
public:
    ByteText() = default;
    // Nothing when some character has no byte.
    static std::optional<ByteText> fromText(QStringView text);

    // The byte of `c`, or nothing.
    static std::optional<char> byteOf(QChar c);
    // The byte that `c` folds to; nothing when it folds to a character
    // without one. Never the byte of a capital 'A', which no character folds to.
    static std::optional<char> foldedByteOf(QChar c);
    static QChar characterOf(char byte);
    static bool isWordByte(char byte);

    qsizetype size() const { return m_bytes.size(); }
    const QByteArray &bytes() const { return m_bytes; }
    const QByteArray &folded() const { return m_folded; }
    // Whether some character folds to one that has no byte (as 'µ' to 'μ'):
    // then a search text with such a character may match here.
    bool hasUnfoldable() const { return m_unfoldable; }

    QString toString() const { return mid(0, size()); }
    QString mid(qsizetype from, qsizetype length) const;
    qsizetype memoryUsed() const { return m_bytes.capacity() + m_folded.capacity(); }

private:
    QByteArray m_bytes;
    QByteArray m_folded;
    bool m_unfoldable = false;
};

} // namespace fosdat
