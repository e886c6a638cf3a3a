#pragma once

#include <QStringView>
#include <bit>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Scans of a catalogue's text for the first character of a kind: eight
// characters at a time where the processor compares them at once, as
// memchr() does for bytes, one at a time elsewhere. Most of the time spent
// reading entries goes to finding where one stretch of a line ends.
namespace fosdat::strata::scan
{

#ifdef __SSE2__
// The first of eight characters that a comparison marked, or 8.
inline int firstMarked(__m128i marked)
{
    const unsigned bytes = unsigned(_mm_movemask_epi8(marked));
    return bytes == 0 ? 8 : std::countr_zero(bytes) / 2; // two bytes a character
}

inline __m128i loadEight(const char16_t *chars)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(chars));
}

// Which of eight characters lie in [low, low + count).
inline __m128i inRange(__m128i eight, char16_t low, char16_t count)
{
    const __m128i offset = _mm_sub_epi16(eight, _mm_set1_epi16(short(low)));
    return _mm_cmpeq_epi16(_mm_subs_epu16(offset, _mm_set1_epi16(short(count - 1))),
                           _mm_setzero_si128());
}
#endif

// The first of chars[from, to) that is `a`, `b` or `c`, or `to`.
inline qsizetype indexOfAny(const char16_t *chars, qsizetype from, qsizetype to, char16_t a,
                            char16_t b, char16_t c)
{
#ifdef __SSE2__
    const __m128i as = _mm_set1_epi16(short(a));
    const __m128i bs = _mm_set1_epi16(short(b));
    const __m128i cs = _mm_set1_epi16(short(c));
    for (; from + 8 <= to; from += 8) {
        const __m128i eight = loadEight(chars + from);
        const __m128i found =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(eight, as), _mm_cmpeq_epi16(eight, bs)),
                         _mm_cmpeq_epi16(eight, cs));
        if (const int at = firstMarked(found); at < 8)
            return from + at;
    }
#endif
    while (from < to && chars[from] != a && chars[from] != b && chars[from] != c)
        ++from;
    return from;
}

// The first ASCII digit of chars[from, to), or `to`.
inline qsizetype indexOfDigit(const char16_t *chars, qsizetype from, qsizetype to)
{
#ifdef __SSE2__
    for (; from + 8 <= to; from += 8) {
        if (const int at = firstMarked(inRange(loadEight(chars + from), u'0', 10)); at < 8)
            return from + at;
    }
#endif
    while (from < to && (chars[from] < u'0' || chars[from] > u'9'))
        ++from;
    return from;
}

// The first of chars[from, to) that is no ASCII lower-case letter, or `to`.
inline qsizetype lowerCaseEnd(const char16_t *chars, qsizetype from, qsizetype to)
{
#ifdef __SSE2__
    for (; from + 8 <= to; from += 8) {
        const __m128i lower = inRange(loadEight(chars + from), u'a', 26);
        if (const int at = firstMarked(_mm_xor_si128(lower, _mm_set1_epi16(-1))); at < 8)
            return from + at;
    }
#endif
    while (from < to && chars[from] >= u'a' && chars[from] <= u'z')
        ++from;
    return from;
}

// The first of chars[from, to) that is no ASCII letter, or `to`.
inline qsizetype asciiLetterEnd(const char16_t *chars, qsizetype from, qsizetype to)
{
#ifdef __SSE2__
    for (; from + 8 <= to; from += 8) {
        const __m128i folded = _mm_or_si128(loadEight(chars + from), _mm_set1_epi16(0x20));
        const __m128i letters = inRange(folded, u'a', 26);
        if (const int at = firstMarked(_mm_xor_si128(letters, _mm_set1_epi16(-1))); at < 8)
            return from + at;
    }
#endif
    while (from < to && (chars[from] | 0x20) >= u'a' && (chars[from] | 0x20) <= u'z')
        ++from;
    return from;
}

// A hash of the characters, four at a time, each group mixed in by a
// multiplication: codes are a few letters long, ranges a few words.
inline quint32 hash(QStringView characters)
{
    const char16_t *chars = characters.utf16();
    const qsizetype size = characters.size();
    quint64 h = quint64(size) * 0x9e3779b97f4a7c15u;
    const auto mix = [&h](quint64 four) {
        h = (h ^ four) * 0xff51afd7ed558ccdu;
        h ^= h >> 32;
    };
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 four;
        std::memcpy(&four, chars + i, sizeof(four));
        mix(four);
    }
    if (i < size) {
        quint64 rest = 0;
        for (int shift = 0; i < size; ++i, shift += 16)
            rest |= quint64(chars[i]) << shift;
        mix(rest);
    }
    return quint32(h);
}

} // namespace fosdat::strata::scan
