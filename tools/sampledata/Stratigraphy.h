#pragma once

#include <QStringView>

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::sampledata
{

class Random;

// A stretch of time as stages of the time scale, oldest first.
struct StageRange {
    int first = 0;
    int last = 0;
};

// Time windows in the program's own time scale, the stages genera are counted
// in.
namespace stratigraphy
{

const strata::TimeScale &timeScale();

// The stages from the first stage of the period `firstPeriod` to the last of
// `lastPeriod`, in the scale's period names ("Cm", "Tr", "Q"); both must
// exist.
StageRange periodSpan(QStringView firstPeriod, QStringView lastPeriod);

// A range inside `window`, short ones far more often than long ones, as
// the life spans of genera are.
StageRange randomRange(Random &random, StageRange window);

} // namespace stratigraphy
} // namespace fosdat::sampledata
