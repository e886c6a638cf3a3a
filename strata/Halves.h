#pragma once

#include <QtConcurrent/QtConcurrentRun>
#include <utility>

namespace fosdat::strata
{

// Runs `work(from, to)` on the first and the second half of [0, size), the
// second on another core, and gives both results, first half first: a pass
// over every entry of the data set takes half the time on two cores, and the
// caller adds the halves up in order, so that the result is one pass's.
template <typename Work> auto inTwoHalves(qsizetype size, const Work &work)
{
    const qsizetype half = size / 2;
    auto later = QtConcurrent::run([&] { return work(half, size); });
    auto first = work(qsizetype(0), half);
    return std::pair(std::move(first), later.takeResult());
}

} // namespace fosdat::strata
