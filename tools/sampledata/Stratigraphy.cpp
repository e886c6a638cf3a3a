#include "Stratigraphy.h"

#include "Random.h"
#include "TimeScale.h"

#include <algorithm>

namespace fosdat::sampledata::stratigraphy
{

const strata::TimeScale &timeScale()
{
    return strata::shippedTimeScale();
}

StageRange periodSpan(QStringView firstPeriod, QStringView lastPeriod)
{
    const QList<strata::Stage> &stages = timeScale().stages();
    const auto inFirst = [&](const strata::Stage &s) { return s.period == firstPeriod; };
    const auto inLast = [&](const strata::Stage &s) { return s.period == lastPeriod; };
    const auto first = std::find_if(stages.begin(), stages.end(), inFirst);
    const auto last = std::find_if(stages.rbegin(), stages.rend(), inLast);
    Q_ASSERT(first != stages.end() && last != stages.rend());
    return {int(first - stages.begin()), int(stages.rend() - last) - 1};
}

StageRange randomRange(Random &random, StageRange window)
{
    const int first = random.between(window.first, window.last);
    const int roll = random.below(100);
    int length = 0;
    if (roll >= 80)
        length = random.between(8, 30);
    else if (roll >= 55)
        length = random.between(3, 7);
    else if (roll >= 25)
        length = random.between(1, 2);
    return {first, std::min(first + length, window.last)};
}

} // namespace fosdat::sampledata::stratigraphy
