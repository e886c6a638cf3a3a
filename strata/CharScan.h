#pragma once

#include <QStringView>
#include <cstring>

// A hash of a code's characters for the time scale's table of codes.
namespace fosdat::strata::scan
{

// Four characters at a time, each group mixed in by a multiplication: codes
// are a few letters long.
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
