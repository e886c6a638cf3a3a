#pragma once

#include <QtGlobal>
#include <cstdint>
#include <iterator>

namespace fosdat::sampledata
{

// A small seeded generator (SplitMix64). The standard library's
// distributions differ between implementations, so every draw is derived
// here from the raw 64-bit stream: the same seed gives the same data set on
// every compiler and platform.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound); bound must be positive. The modulo bias is far
    // below anything a sample data set could show.
    int below(int bound)
    {
        Q_ASSERT(bound > 0);
        return int(next() % std::uint64_t(bound));
    }

    // Uniform in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }

    // True with the given chance in percent.
    bool percent(int chance) { return below(100) < chance; }

    template <typename Range> const auto &pick(const Range &items)
    {
        return items[std::size_t(below(int(std::size(items))))];
    }

    // A derived generator, so that one part of the output can change its
    // number of draws without shifting every part after it.
    Random fork(std::uint64_t salt) { return Random(next() ^ (salt * 0xd6e8feb86659fd93ULL)); }

private:
    std::uint64_t m_state;
};

} // namespace fosdat::sampledata
