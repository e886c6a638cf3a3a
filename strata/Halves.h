#pragma once

#include <QtConcurrent/QtConcurrentRun>
#include <type_traits>
#include <utility>

namespace fosdat::strata
{

// Runs `work(0, split)` here and `work(split, size)` on another core, and
// gives both results, the first part's first (nothing where `work` gives
// nothing): a pass over every entry of the data set takes half the time on
// two cores, and the caller adds the parts up in order, so that the result
// is one pass's.
template <typename Work> auto inTwoParts(qsizetype split, qsizetype size, const Work &work)
{
    auto later = QtConcurrent::run([&] { return work(split, size); });
    if constexpr (std::is_void_v<decltype(work(split, size))>) {
        work(qsizetype(0), split);
        later.waitForFinished();
    } else {
        auto first = work(qsizetype(0), split);
        return std::pair(std::move(first), later.takeResult());
    }
}

// The same split in the middle of [0, size).
template <typename Work> auto inTwoHalves(qsizetype size, const Work &work)
{
    return inTwoParts(size / 2, size, work);
}

} // namespace fosdat::strata
