#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace fosdat::strata
{

class GenusEntry;
class TimeScale;
struct CountOptions;
struct EntryFilter;
struct Placement;

// How time is divided into the intervals genera are counted in.
enum class BinKind {
    // The catalogue's own resolution: the coarsest intervals that split no
    // unit the counted entries write (by the units' own ages, so regional
    // units finer than a stage are bins of their own); units that overlap
    // share one, and a time no written unit begins in joins the one before.
    Units,
    Stages,  // the chart's stages
    Epochs,  // the parts of a period: its lower, middle and upper stages
    Periods, // the periods
    TenMyr,  // about 10 Myr each, stages joined from the oldest up
};

// "a–b" of two names, or the one where they are the same.
QString joinedNames(const QString &oldest, const QString &youngest);

// "units", "stages", "epochs", "periods", "10myr"; nullopt for another word.
std::optional<BinKind> binKindFromKey(QStringView key);

// One interval, oldest first.
struct Bin {
    // A stage's or unit's code, "K l" for a part of a period, "K", "Camp-Maas"
    QString code;
    QString name;  // "кампанский", "кампанский–маастрихтский"
    int first = 0; // the chart's stages it lies in
    int last = 0;
    double base = 0; // Ma
    double top = 0;

    double duration() const { return base - top; }
    friend bool operator==(const Bin &, const Bin &) = default;
};

// The units (indices into the scale's units()) that the entries counted
// under `filter` and `options` write as the first or last unit of their
// ranges, in the scale's order.
QList<int> writtenUnits(const QList<GenusEntry> &entries, const TimeScale &scale,
                        const EntryFilter &filter, const CountOptions &options);

// The bins of a time scale, oldest first, which tile it from the base of its
// oldest stage to the top of its youngest without gap or overlap. Stage
// bins and their joins hold each stage in exactly one bin.
class Bins
{
public:
    // `written`: as writtenUnits() gives them; the Units kind is made of
    // them, and every kind names them in unitsIn().
    Bins(const TimeScale &scale, BinKind kind, const QList<int> &written = {});

    const QList<Bin> &bins() const { return m_bins; }
    // The first and last bin of a placed range (of the scale the bins are
    // made of): by its stages, or for the Units kind by its ages.
    std::pair<int, int> binsOf(const Placement &placement) const;
    int stageCount() const { return m_stageCount; }

    // The codes of the written units whose own ages lie within a bin,
    // separated by spaces.
    QString unitsIn(const TimeScale &scale, int bin) const;
    // The codes of the chart's stages a bin lies in, separated by spaces.
    QString stagesIn(const TimeScale &scale, int bin) const;

private:
    void add(const TimeScale &scale, int first, int last, const QString &code);
    void addUnitBins(const TimeScale &scale);
    QList<int> writtenIn(const TimeScale &scale, const Bin &bin) const;
    void nameUnitBin(const TimeScale &scale, Bin &bin) const;
    int binOfBase(double base) const;
    int binOfTop(double top) const;

    QList<Bin> m_bins;
    QList<int> m_binOfStage; // empty for bins made by ages
    // For bins made by ages, by unit of the scale: the bins of its base and
    // of its top.
    QList<std::pair<int, int>> m_binsOfUnit;
    QList<int> m_written;
    int m_stageCount = 0;
};

} // namespace fosdat::strata
