#pragma once

#include <QStringView>
#include <QVarLengthArray>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace fosdat::strata
{

// The pieces of a stretch of a genus entry, for telling its author from its
// range and for reading the range: one pass over the characters, then all
// work on a few tokens.
enum class TokenKind : quint8 { Word, Question, Open, Close, Dash, Dot, Number, Other };

// Positions within a catalogue's text (TextSpan says why 32 bits hold them).
struct Token {
    TokenKind kind = TokenKind::Other;
    bool spaceBefore = false;
    qint32 start = 0;
    qint32 end = 0;
};

using Tokens = QVarLengthArray<Token, 32>;

namespace tokens
{

// Blanks, and control characters, which a word processor's text may carry
// inside an entry and which separate what they stand between as a blank
// does. Inline: the readers of an entry ask it of most characters.
constexpr bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    if (u > u' ' && u < 0x7f) // the printable ASCII most of a catalogue is
        return false;
    return u < 0xa0 || c.isSpace();
}

// Where the blanks at text[at] end, before `end`.
inline qsizetype skipBlanks(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && isBlank(text[at]))
        ++at;
    return at;
}

// An ASCII digit: the numbers of years, references and tokens.
constexpr bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A soft hyphen, which a word processor keeps where a long word may be broken
// ("Acantho\u00adceras"): part of the word.
constexpr bool isSoftHyphen(QChar c)
{
    return c.unicode() == 0xad;
}

// A letter, or what stands within a word: a combining mark ("Müller" written
// with one), a soft hyphen.
constexpr bool isLetter(QChar c)
{
    return c.isLetter() || isSoftHyphen(c) || (c.unicode() >= 0x300 && c.isMark());
}

// The first of `c` and `more` in text[from, to), or `to`. Inline, and eight
// characters at a time where the processor compares so many at once: the
// readers of an entry search its short stretches for a bracket or a dot
// several times a line, where QStringView::indexOf() costs more in its call
// than in its search.
template <typename... More>
inline qsizetype find(QStringView text, qsizetype from, qsizetype to, QChar c, More... more)
{
#ifdef __SSE2__
    const char16_t *data = text.utf16();
    const auto equals = [](__m128i chunk, QChar wanted) {
        return _mm_cmpeq_epi16(chunk, _mm_set1_epi16(short(wanted.unicode())));
    };
    for (; from + 8 <= to; from += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + from));
        __m128i found = equals(chunk, c);
        ((found = _mm_or_si128(found, equals(chunk, QChar(more)))), ...);
        if (const int mask = _mm_movemask_epi8(found))
            return from + std::countr_zero(unsigned(mask)) / 2;
    }
#endif
    while (from < to && text[from] != c && ((text[from] != QChar(more)) && ...))
        ++from;
    return from;
}

// Hyphen, non-breaking hyphen, figure dash, en and em dash, horizontal bar,
// minus: the same separator in a range.
constexpr bool isDash(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || (u >= 0x2010 && u <= 0x2015) || u == 0x2212;
}

} // namespace tokens

// The tokens of text[from, to). A word is a letter followed by letters, marks
// and digits ("Cm02", "Müller"); a number is digits ("1975" in "1975a");
// every other character that is no blank is a token of its own.
Tokens tokenize(QStringView text, qsizetype from, qsizetype to);

} // namespace fosdat::strata
