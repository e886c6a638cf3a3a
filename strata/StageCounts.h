#pragma once

#include "GenusEntries.h"
#include "Reason.h"

#include <QList>
#include <functional>
#include <optional>

namespace fosdat::strata
{

class Bins;
class TimeScale;
struct Unit;

// Which genera a count takes, besides those whose range is placed at stage
// level.
struct CountOptions {
    bool uncertain = true;   // ranges with a "?"
    bool periodOnly = false; // ranges with a bound given by its period alone ("K", "l-K")
    bool living = true;      // genera living today ("... - Rec")
};

// Which entries take part at all: those of the ticked groups that the test
// passes (a text filter with the find dialog's options, say). An entry left
// out is neither counted nor not counted.
struct EntryFilter {
    QList<bool> groups;                              // by group row; empty: every group
    std::function<bool(const GenusEntry &)> accepts; // empty: every entry

    bool admits(const GenusEntry &entry) const;
};

// Why an entry is not counted under `options`; Reason::None when it is.
Reason countingReason(const GenusEntry &entry, const CountOptions &options);

// The text that reason names in the entry: the unknown code, the range...
QStringView reasonCode(const GenusEntry &entry, Reason reason);

// The known code an unknown stage code most resembles (suggestUnit), given
// the period it is written under; null for every other reason.
const Unit *reasonSuggestion(const GenusEntry &entry, Reason reason, const TimeScale &scale);

// The classes of genera in a stage, and what is made of them. A genus ranges
// through the stages from its first to its last; it crosses a stage's base
// when it began before it, and its top when it ends after it or lives today.
enum class Count {
    SingleStage,      // first and last appearance in the stage
    FirstCrossingTop, // first appearance in the stage, crosses its top
    CrossingBaseLast, // crosses its base, last appearance in the stage
    RangeThrough,     // crosses its base and its top
    Genera,           // all four: range-through diversity
    FirstAppearances, // single-stage + first crossing top
    LastAppearances,  // single-stage + crossing base last (living genera never)
    BaseCrossers,     // crossing base last + range-through
    TopCrossers,      // first crossing top + range-through
};

enum class Rate {
    ProportionalOrigination, // first appearances / genera
    ProportionalExtinction,  // last appearances / genera
    Origination,             // per capita, per stage: -ln(range-through / top crossers)
    Extinction,              // per capita, per stage: -ln(range-through / base crossers)
    OriginationPerMyr,       // the same per million years of the stage
    ExtinctionPerMyr,
};

// The counts per stage of the time scale for one filter and set of options,
// with the genera behind each. Cheap enough to make anew on every change of
// filter: one pass over the entries and one over the stages.
class StageCounts
{
public:
    struct NotCounted {
        int entry;
        Reason reason;
    };

    StageCounts(const QList<GenusEntry> &entries, const TimeScale &scale,
                const EntryFilter &filter = {}, const CountOptions &options = {});
    // The same counted in bins of stages: "stage" below is then a bin.
    StageCounts(const QList<GenusEntry> &entries, const Bins &bins, const EntryFilter &filter = {},
                const CountOptions &options = {});

    int stageCount() const { return int(m_classes.size()); }
    int count(int stage, Count count) const;
    // Empty where undefined (nothing to divide by, a logarithm of 0), for
    // the per-capita rates in the first and last stage of the scale, and per
    // million years in a stage shorter than one million years.
    std::optional<double> rate(int stage, Rate rate) const;
    // The standard error of a per-capita rate (Origination, Extinction and
    // their values per Myr) from the binomial approximation: with N genera
    // crossing one boundary of which a share q crosses both,
    // sqrt((1 - q) / (q N)). Empty where the rate is, and for the
    // proportional rates.
    std::optional<double> rateError(int stage, Rate rate) const;
    // The entries behind a count, as indices into the entries counted, in
    // their order.
    QList<int> genera(int stage, Count count) const;

    const QList<int> &counted() const { return m_counted; }
    const QList<NotCounted> &notCounted() const { return m_notCounted; }
    // Counted and not counted together: every entry the filter admits.
    int admitted() const { return int(m_counted.size() + m_notCounted.size()); }

private:
    struct Tally;
    static Tally tally(const QList<GenusEntry> &entries, qsizetype from, qsizetype to,
                       const Bins &bins, const EntryFilter &filter, const CountOptions &options);
    std::optional<double> perMyr(int stage, std::optional<double> value) const;

    struct Classes {
        int singleStage = 0;
        int firstCrossingTop = 0;
        int crossingBaseLast = 0;
        int rangeThrough = 0;

        Classes &operator+=(const Classes &more)
        {
            singleStage += more.singleStage;
            firstCrossingTop += more.firstCrossingTop;
            crossingBaseLast += more.crossingBaseLast;
            rangeThrough += more.rangeThrough;
            return *this;
        }
    };
    struct Placed {
        int entry;
        int first;
        int last;
        bool extant;
    };

    QList<Classes> m_classes;
    QList<double> m_durations;
    QList<Placed> m_placed;
    QList<int> m_counted;
    QList<NotCounted> m_notCounted;
};

// The entries not counted, one group for each reason, code and suggestion
// ("неизвестный ярус «Xyzz»"), most entries first.
struct ReasonGroup {
    Reason reason;
    QString code;
    QList<int> entries;
    const Unit *suggestion = nullptr; // of `scale`, for an unknown stage code
};
QList<ReasonGroup> groupNotCounted(const StageCounts &counts, const QList<GenusEntry> &entries,
                                   const TimeScale &scale);

// For each bin, how many entries not counted for a stage code the scale
// lacks ("K (Xyzz)") are written under a period that the bin is part of: where the counts are short
// of genera that the catalogue does place in time, if only by their period.
QList<int> notCountedInPeriods(const StageCounts &counts, const QList<GenusEntry> &entries,
                               const TimeScale &scale, const Bins &bins);

} // namespace fosdat::strata
