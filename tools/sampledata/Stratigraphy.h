#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace fosdat::sampledata
{

class Random;

// One stage of the time scale: its period's code ("K") and the stage's
// abbreviation ("Camp"), written "K (Camp)".
struct Stage {
    QStringView period;
    QStringView stage;
};

// A stratigraphic range as positions in the time scale, oldest first.
struct StageRange {
    int first = 0;
    int last = 0;
};

// The Phanerozoic stages from the Cambrian to the Holocene, in time order.
namespace stratigraphy
{

int stageCount();
Stage stage(int index);

// Position of "K (Camp)" given as period code and stage, or nullopt.
std::optional<int> indexOf(QStringView period, QStringView stage);

// The stages from the first stage of `firstPeriod` to the last of
// `lastPeriod`; both codes must exist.
StageRange periodSpan(QStringView firstPeriod, QStringView lastPeriod);

// A range inside `window`, short ones far more often than long ones, as
// the life spans of genera are.
StageRange randomRange(Random &random, StageRange window);

// "K (Camp)" for a single stage, "O (Trem) - S (Wenl)" otherwise.
QString format(StageRange range);

} // namespace stratigraphy
} // namespace fosdat::sampledata
