#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace fosdat::strata
{

class TimeScale;

// How the stages of the chart are joined into the intervals genera are
// counted in.
enum class BinKind {
    Stages,  // the chart's stages
    Epochs,  // the parts of a period: its lower, middle and upper stages
    Periods, // the periods
    TenMyr,  // about 10 Myr each, stages joined from the oldest up
};

// "stages", "epochs", "periods", "10myr"; nullopt for another word.
std::optional<BinKind> binKindFromKey(QStringView key);

// One interval: a run of the chart's stages, oldest first.
struct Bin {
    QString code;  // a stage's code, "K l" for a part of a period, "K", "Camp-Maas"
    int first = 0; // its stages
    int last = 0;
    double base = 0; // Ma
    double top = 0;

    double duration() const { return base - top; }
};

// The bins of a time scale, oldest first, each stage in exactly one of them.
class Bins
{
public:
    Bins(const TimeScale &scale, BinKind kind);

    const QList<Bin> &bins() const { return m_bins; }
    int binOf(int stage) const { return m_binOfStage.at(stage); }
    int stageCount() const { return int(m_binOfStage.size()); }

    // The codes of the scale's units whose own ages lie within a bin and
    // which are not a stage's own code, separated by spaces.
    QString unitsIn(const TimeScale &scale, int bin) const;
    // The codes of the chart's stages in a bin, separated by spaces.
    QString stagesIn(const TimeScale &scale, int bin) const;

private:
    void add(const TimeScale &scale, int first, int last, const QString &code);

    QList<Bin> m_bins;
    QList<int> m_binOfStage;
};

} // namespace fosdat::strata
