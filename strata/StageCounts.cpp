#include "StageCounts.h"

#include "Bins.h"
#include "CodeSuggestion.h"
#include "Halves.h"
#include "TimeScale.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace fosdat::strata
{

namespace
{

// The four classes a genus falls into in one stage of its range.
enum Class : quint8 {
    SingleStage = 1,
    FirstCrossingTop = 2,
    CrossingBaseLast = 4,
    RangeThrough = 8
};

Class classIn(int stage, int first, int last, bool extant)
{
    const bool base = stage > first;
    const bool top = stage < last || extant;
    return base ? (top ? RangeThrough : CrossingBaseLast) : (top ? FirstCrossingTop : SingleStage);
}

int classesOf(Count count)
{
    switch (count) {
    case Count::SingleStage:
        return SingleStage;
    case Count::FirstCrossingTop:
        return FirstCrossingTop;
    case Count::CrossingBaseLast:
        return CrossingBaseLast;
    case Count::RangeThrough:
        return RangeThrough;
    case Count::Genera:
        return SingleStage | FirstCrossingTop | CrossingBaseLast | RangeThrough;
    case Count::FirstAppearances:
        return SingleStage | FirstCrossingTop;
    case Count::LastAppearances:
        return SingleStage | CrossingBaseLast;
    case Count::BaseCrossers:
        return CrossingBaseLast | RangeThrough;
    case Count::TopCrossers:
        return FirstCrossingTop | RangeThrough;
    }
    return 0;
}

} // namespace

bool EntryFilter::admits(const GenusEntry &entry) const
{
    if (!groups.isEmpty() && !groups.value(entry.group, false))
        return false;
    return !accepts || accepts(entry);
}

Reason countingReason(const GenusEntry &entry, const CountOptions &options)
{
    const Placement &placement = entry.placement;
    if (!placement.isPlaced())
        return placement.reason;
    if (placement.periodOnly && !options.periodOnly)
        return Reason::PeriodOnly;
    if (placement.uncertain && !options.uncertain)
        return Reason::Uncertain;
    if (placement.extant && !options.living)
        return Reason::Living;
    return Reason::None;
}

QStringView reasonCode(const GenusEntry &entry, Reason reason)
{
    switch (reason) {
    case Reason::None:
    case Reason::NoRange:
        return {};
    case Reason::PeriodOnly:
    case Reason::Uncertain:
    case Reason::Living:
        return entry.range();
    default:
        return entry.view(entry.placement.code);
    }
}

namespace
{

// The period code an unknown stage code of an entry is written under: "K"
// for "K (Xyzz)".
QStringView periodOfUnknownStage(const GenusEntry &entry)
{
    const QStringView code = reasonCode(entry, Reason::UnknownStage);
    const QStringView line = entry.text();
    const bool inLine = code.data() >= line.data() && code.data() <= line.data() + line.size();
    return periodBefore(inLine ? line.first(code.data() - line.data()) : QStringView());
}

} // namespace

const Unit *reasonSuggestion(const GenusEntry &entry, Reason reason, const TimeScale &scale)
{
    if (reason != Reason::UnknownStage)
        return nullptr;
    return suggestUnit(scale, reasonCode(entry, reason), periodOfUnknownStage(entry));
}

StageCounts::StageCounts(const QList<GenusEntry> &entries, const TimeScale &scale,
                         const EntryFilter &filter, const CountOptions &options)
    : StageCounts(entries, Bins(scale, BinKind::Stages), filter, options)
{
}

// What the entries [from, to) add to the counts. Genera ranging through a
// stage are counted as a difference at its ends, `throughs`.
struct StageCounts::Tally {
    QList<Classes> classes;
    QList<int> throughs;
    QList<Placed> placed;
    QList<int> counted;
    QList<NotCounted> notCounted;
};

StageCounts::Tally StageCounts::tally(const QList<GenusEntry> &entries, qsizetype from,
                                      qsizetype to, const Bins &bins, const EntryFilter &filter,
                                      const CountOptions &options)
{
    const int stages = int(bins.bins().size());
    Tally tally;
    tally.classes.resize(stages);
    tally.throughs.fill(0, stages + 1);
    tally.counted.reserve(to - from);
    tally.placed.reserve(to - from);
    int *through = tally.throughs.data();
    Classes *classes = tally.classes.data();
    const bool filtered = !filter.groups.isEmpty() || filter.accepts;
    for (int i = int(from); i < int(to); ++i) {
        const GenusEntry &entry = entries[i];
        if (filtered && !filter.admits(entry))
            continue;
        const Reason reason = countingReason(entry, options);
        const Placement &written = entry.placement;
        if (reason != Reason::None || written.first < 0 || written.last >= bins.stageCount()) {
            tally.notCounted.append({i, reason});
            continue;
        }
        const auto [first, last] = bins.binsOf(written);
        tally.counted.append(i);
        tally.placed.append({i, first, last, written.extant});
        if (first == last) {
            (written.extant ? classes[first].firstCrossingTop : classes[first].singleStage)++;
            continue;
        }
        ++classes[first].firstCrossingTop;
        (written.extant ? classes[last].rangeThrough : classes[last].crossingBaseLast)++;
        ++through[first + 1];
        --through[last];
    }
    return tally;
}

// The halves of the entries tallied on two cores and added up in order: the
// same counts, and the same lists, as one pass makes.
StageCounts::StageCounts(const QList<GenusEntry> &entries, const Bins &bins,
                         const EntryFilter &filter, const CountOptions &options)
{
    for (const Bin &bin : bins.bins())
        m_durations.append(bin.duration());
    auto [all, second] = inTwoHalves(entries.size(), [&](qsizetype from, qsizetype to) {
        return tally(entries, from, to, bins, filter, options);
    });
    int running = 0;
    for (qsizetype s = 0; s < all.classes.size(); ++s) {
        all.classes[s] += second.classes.at(s);
        running += all.throughs.at(s) + second.throughs.at(s);
        all.classes[s].rangeThrough += running;
    }
    all.placed.append(second.placed);
    all.counted.append(second.counted);
    all.notCounted.append(second.notCounted);
    m_classes = std::move(all.classes);
    m_placed = std::move(all.placed);
    m_counted = std::move(all.counted);
    m_notCounted = std::move(all.notCounted);
}

int StageCounts::count(int stage, Count count) const
{
    const Classes &c = m_classes.at(stage);
    const int classes = classesOf(count);
    return (classes & SingleStage ? c.singleStage : 0) +
           (classes & FirstCrossingTop ? c.firstCrossingTop : 0) +
           (classes & CrossingBaseLast ? c.crossingBaseLast : 0) +
           (classes & RangeThrough ? c.rangeThrough : 0);
}

std::optional<double> StageCounts::rate(int stage, Rate rate) const
{
    const auto ratio = [](int part, int whole) -> std::optional<double> {
        return whole > 0 ? std::optional(double(part) / whole) : std::nullopt;
    };
    // ln(crossing one boundary / crossing both): the per-capita rate.
    const auto perCapita = [&](Count crossers) -> std::optional<double> {
        const int both = count(stage, Count::RangeThrough);
        const int one = count(stage, crossers);
        if (stage == 0 || stage == stageCount() - 1 || both == 0 || one == 0)
            return std::nullopt;
        return std::log(double(one) / both);
    };
    switch (rate) {
    case Rate::ProportionalOrigination:
        return ratio(count(stage, Count::FirstAppearances), count(stage, Count::Genera));
    case Rate::ProportionalExtinction:
        return ratio(count(stage, Count::LastAppearances), count(stage, Count::Genera));
    case Rate::Origination:
        return perCapita(Count::TopCrossers);
    case Rate::Extinction:
        return perCapita(Count::BaseCrossers);
    case Rate::OriginationPerMyr:
        return perMyr(stage, perCapita(Count::TopCrossers));
    case Rate::ExtinctionPerMyr:
        return perMyr(stage, perCapita(Count::BaseCrossers));
    }
    return std::nullopt;
}

std::optional<double> StageCounts::perMyr(int stage, std::optional<double> value) const
{
    // Below a million years the per-Myr value mostly measures the stage's
    // shortness: a 3,700-year stage would scale every other one flat.
    if (!value || m_durations.at(stage) < 1)
        return std::nullopt;
    return *value / m_durations.at(stage);
}

std::optional<double> StageCounts::rateError(int stage, Rate rate) const
{
    const bool origination = rate == Rate::Origination || rate == Rate::OriginationPerMyr;
    const bool extinction = rate == Rate::Extinction || rate == Rate::ExtinctionPerMyr;
    if ((!origination && !extinction) || !this->rate(stage, rate))
        return std::nullopt;
    const double crossers = count(stage, origination ? Count::TopCrossers : Count::BaseCrossers);
    const double share = count(stage, Count::RangeThrough) / crossers;
    const double error = std::sqrt((1 - share) / (share * crossers));
    const bool perMyrRate = rate == Rate::OriginationPerMyr || rate == Rate::ExtinctionPerMyr;
    return perMyrRate ? perMyr(stage, error) : std::optional(error);
}

QList<int> StageCounts::genera(int stage, Count count) const
{
    const int classes = classesOf(count);
    QList<int> found;
    for (const Placed &p : m_placed) {
        if (stage >= p.first && stage <= p.last &&
            (classIn(stage, p.first, p.last, p.extant) & classes))
            found.append(p.entry);
    }
    return found;
}

QList<ReasonGroup> groupNotCounted(const StageCounts &counts, const QList<GenusEntry> &entries,
                                   const TimeScale &scale)
{
    QList<ReasonGroup> groups;
    // By reason and suggestion, and code.
    QHash<std::pair<std::pair<int, int>, QString>, qsizetype> byKey;
    for (const StageCounts::NotCounted &skipped : counts.notCounted()) {
        const GenusEntry &entry = entries.at(skipped.entry);
        // Living, uncertain and period-only entries differ in their ranges
        // only: one group each.
        const bool byCode = skipped.reason < Reason::PeriodOnly;
        const QString code = byCode ? reasonCode(entry, skipped.reason).toString() : QString();
        const Unit *suggested = reasonSuggestion(entry, skipped.reason, scale);
        const auto key = std::make_pair(
            std::make_pair(int(skipped.reason), suggested ? scale.unitIndex(*suggested) : -1),
            code);
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            it = byKey.insert(key, groups.size());
            groups.append({skipped.reason, code, {}, suggested});
        }
        groups[*it].entries.append(skipped.entry);
    }
    std::stable_sort(groups.begin(), groups.end(), [](const ReasonGroup &a, const ReasonGroup &b) {
        return a.entries.size() > b.entries.size();
    });
    return groups;
}

QList<int> notCountedInPeriods(const StageCounts &counts, const QList<GenusEntry> &entries,
                               const TimeScale &scale, const Bins &bins)
{
    QList<int> byBin(bins.bins().size(), 0);
    for (const StageCounts::NotCounted &skipped : counts.notCounted()) {
        if (skipped.reason != Reason::UnknownStage)
            continue;
        const Period *period = scale.period(periodOfUnknownStage(entries.at(skipped.entry)));
        const std::optional<StageSpan> stages = period ? scale.periodStages(*period) : std::nullopt;
        if (!stages)
            continue;
        const double base = scale.stages().at(stages->first).base;
        const double top = scale.stages().at(stages->last).top;
        for (int b = 0; b < byBin.size(); ++b) {
            const Bin &bin = bins.bins().at(b);
            byBin[b] += bin.base > top && bin.top < base ? 1 : 0;
        }
    }
    return byBin;
}

} // namespace fosdat::strata
