#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <bitset>
#include <utility>

namespace fosdat
{

class TextMatcher;

// A catalogue's plain text (paragraphs joined by '\n') held in one byte a
// character, with a copy whose letter case is folded, so that a search scans
// bytes with memmem() instead of comparing characters one by one, ignoring
// case or not. Each text has an alphabet of its own: a byte stands for one of
// the UTF-16 units the text or its folded copy holds, whatever the script
// (Cyrillic, Latin with diacritics, signs such as × and ≈). A text with more
// distinct units than a byte can name (no real catalogue comes near) keeps
// its rarest ones aside, under one escape byte, and a match over them is
// checked against the units themselves. A position in the bytes is the same
// as in the text they came from; the two copies take the memory of the text
// as a QString.
class ByteText
{
public:
    ByteText() = default;
    explicit ByteText(QStringView text);

    // Letter case folded as QString's case-insensitive search folds it: each
    // character on its own, a surrogate pair as the one character it makes.
    static QString foldCase(QStringView text);

    qsizetype size() const { return m_exact.size(); }

    // The paragraph ends ('\n') at positions from `from` to before `to`.
    qsizetype paragraphEnds(qsizetype from, qsizetype to) const;
    // The paragraph end before `position`, or -1.
    qsizetype paragraphEndBefore(qsizetype position) const;
    // The paragraph end at or after `position`, or the text's size.
    qsizetype paragraphEndFrom(qsizetype position) const;

    // The matches of one search in the text, found by scanning its bytes;
    // the same as TextMatcher::indexIn() finds in the text as characters.
    class Finder
    {
    public:
        // Both must outlive the finder.
        Finder(const ByteText &text, const TextMatcher &matcher);
        // The start of the first match at or after `from`, or -1.
        qsizetype indexIn(qsizetype from) const;

    private:
        bool unitsMatch(qsizetype start) const;
        bool isWholeWord(qsizetype start) const;

        const ByteText &m_text;
        const TextMatcher &m_matcher;
        const QByteArray *m_haystack = nullptr;
        QByteArray m_needle;
        QString m_units;            // the searched text, folded unless matching case
        QList<qsizetype> m_escaped; // where m_needle holds the escape byte
        bool m_impossible = false;  // a unit of the searched text is nowhere in the text
    };

private:
    // A unit kept aside under the escape byte, in the text or its folded copy.
    struct Escaped {
        qsizetype position = 0;
        char16_t unit = 0;
        char16_t folded = 0;
    };

    char byteOf(char16_t unit) const; // the escape byte for a unit without one
    QChar unitAt(qsizetype position) const;
    const Escaped &escapedAt(qsizetype position) const;
    bool isWordAt(qsizetype position) const;

    QByteArray m_exact;
    QByteArray m_folded;
    std::array<char16_t, 256> m_units{};      // the unit each byte stands for
    std::bitset<256> m_wordBytes;             // bytes that stand for a letter or digit
    QList<std::pair<char16_t, char>> m_bytes; // each unit's byte, sorted by unit
    QList<Escaped> m_escapedUnits;            // by position
    char m_paragraphEnd = 0; // the byte of '\n'; the escape byte when the text has none
};

} // namespace fosdat
