#include "Bins.h"

#include "GenusEntries.h"
#include "Halves.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <algorithm>
#include <cmath>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

constexpr double TenMyr = 10;
// Ages closer than this are one age: the table writes them to 0.01 Myr.
constexpr double SameAge = 1e-6;

// Whether a stage begins a new bin of this kind.
bool beginsBin(const TimeScale &scale, BinKind kind, int stage, double binBase)
{
    const QList<Stage> &stages = scale.stages();
    if (stage == 0)
        return true;
    const Stage &s = stages[stage];
    const Stage &before = stages[stage - 1];
    switch (kind) {
    case BinKind::Units:
    case BinKind::Stages:
        return true;
    case BinKind::Epochs:
        return s.period != before.period || s.part != before.part;
    case BinKind::Periods:
        return s.period != before.period;
    case BinKind::TenMyr:
        // The boundary nearest to 10 Myr above the bin's base closes it.
        return binBase - s.base >= TenMyr ||
               std::abs(binBase - s.base - TenMyr) < std::abs(binBase - s.top - TenMyr);
    }
    return true;
}

QString binCode(const TimeScale &scale, BinKind kind, int first, int last)
{
    const Stage &s = scale.stages()[first];
    switch (kind) {
    case BinKind::Units:
    case BinKind::Stages:
        return s.code;
    case BinKind::Epochs:
        return s.part.isNull() ? s.period : s.period + u' ' + s.part;
    case BinKind::Periods:
        return s.period;
    case BinKind::TenMyr:
        return first == last ? s.code : s.code + u'-' + scale.stages()[last].code;
    }
    return s.code;
}

} // namespace

QString joinedNames(const QString &oldest, const QString &youngest)
{
    return oldest == youngest ? oldest : oldest + u'–' + youngest;
}

std::optional<BinKind> binKindFromKey(QStringView key)
{
    if (key == u"units")
        return BinKind::Units;
    if (key == u"stages")
        return BinKind::Stages;
    if (key == u"epochs")
        return BinKind::Epochs;
    if (key == u"periods")
        return BinKind::Periods;
    if (key == u"10myr")
        return BinKind::TenMyr;
    return std::nullopt;
}

QList<int> writtenUnits(const QList<GenusEntry> &entries, const TimeScale &scale,
                        const EntryFilter &filter, const CountOptions &options)
{
    const auto written = [&](qsizetype from, qsizetype to) {
        QList<bool> units(scale.units().size(), false);
        for (qsizetype i = from; i < to; ++i) {
            const GenusEntry &entry = entries.at(i);
            if (!filter.admits(entry) || countingReason(entry, options) != Reason::None)
                continue;
            for (const int unit : {entry.placement.firstUnit, entry.placement.lastUnit}) {
                if (unit >= 0 && unit < units.size())
                    units[unit] = true;
            }
        }
        return units;
    };
    const auto [first, second] = inTwoHalves(entries.size(), written);
    QList<int> indices;
    for (int i = 0; i < int(first.size()); ++i) {
        if (first[i] || second[i])
            indices.append(i);
    }
    return indices;
}

Bins::Bins(const TimeScale &scale, BinKind kind, const QList<int> &written)
    : m_written(written), m_stageCount(int(scale.stages().size()))
{
    if (kind == BinKind::Units) {
        addUnitBins(scale);
        // Each unit's bins at hand: a range is placed by the units it
        // writes, and a recount places every entry.
        for (const Unit &unit : scale.units())
            m_binsOfUnit.append({binOfBase(unit.base), binOfTop(unit.top)});
        return;
    }
    const QList<Stage> &stages = scale.stages();
    int first = 0;
    for (int s = 1; s <= int(stages.size()); ++s) {
        if (s == int(stages.size()) || beginsBin(scale, kind, s, stages[first].base)) {
            add(scale, first, s - 1, binCode(scale, kind, first, s - 1));
            first = s;
        }
    }
}

void Bins::add(const TimeScale &scale, int first, int last, const QString &code)
{
    const int index = int(m_bins.size());
    const Stage &from = scale.stages()[first];
    const Stage &to = scale.stages()[last];
    m_bins.append({code, joinedNames(from.name, to.name), first, last, from.base, to.top});
    for (int s = first; s <= last; ++s)
        m_binOfStage.append(index);
}

// A bin begins at the base of every written unit that no other written unit
// spans, and after the youngest written unit, which no genus can begin or
// end in; the rest of the scale before the oldest unit is a bin of its own.
void Bins::addUnitBins(const TimeScale &scale)
{
    const QList<Stage> &stages = scale.stages();
    if (stages.isEmpty())
        return;
    const auto inside = [&](double age) {
        return std::any_of(m_written.cbegin(), m_written.cend(), [&](int u) {
            const Unit &unit = scale.units()[u];
            return unit.base > age + SameAge && unit.top < age - SameAge;
        });
    };
    QList<double> cuts{stages.front().base};
    double youngest = stages.front().base;
    for (int u : m_written) {
        const Unit &unit = scale.units()[u];
        if (!inside(unit.base))
            cuts.append(unit.base);
        youngest = std::min(youngest, unit.top);
    }
    cuts.append(youngest);
    std::sort(cuts.begin(), cuts.end(), std::greater<>());
    cuts.erase(
        std::unique(cuts.begin(), cuts.end(), [](double a, double b) { return a - b < SameAge; }),
        cuts.end());
    const double end = stages.back().top;
    while (!cuts.isEmpty() && cuts.back() < end + SameAge)
        cuts.removeLast();
    cuts.append(end);
    for (qsizetype i = 0; i + 1 < cuts.size(); ++i) {
        Bin bin;
        bin.base = cuts[i];
        bin.top = cuts[i + 1];
        while (bin.first + 1 < int(stages.size()) &&
               stages[bin.first + 1].base >= bin.base - SameAge)
            ++bin.first;
        bin.last = bin.first;
        while (stages[bin.last].top > bin.top + SameAge)
            ++bin.last;
        nameUnitBin(scale, bin);
        m_bins.append(bin);
    }
}

// The written units whose own ages lie within a bin, in the scale's order.
QList<int> Bins::writtenIn(const TimeScale &scale, const Bin &b) const
{
    QList<int> within;
    for (int u : m_written) {
        const Unit &unit = scale.units()[u];
        if (unit.base <= b.base + SameAge && unit.top >= b.top - SameAge)
            within.append(u);
    }
    return within;
}

// The code and name of the written unit that is the whole bin; else those
// of the units it begins and ends with, "Cara-Ashg"; else its stages',
// "Edia-Fort".
void Bins::nameUnitBin(const TimeScale &scale, Bin &b) const
{
    const Unit *oldest = nullptr;
    const Unit *youngest = nullptr;
    for (int u : writtenIn(scale, b)) {
        const Unit &unit = scale.units()[u];
        if (std::abs(unit.base - b.base) < SameAge && std::abs(unit.top - b.top) < SameAge) {
            oldest = youngest = &unit;
            break;
        }
        if (!oldest && std::abs(unit.base - b.base) < SameAge)
            oldest = &unit;
        if (!youngest || unit.top < youngest->top - SameAge)
            youngest = &unit;
    }
    const Stage &first = scale.stages()[b.first];
    const Stage &last = scale.stages()[b.last];
    b.code = !oldest ? (b.first == b.last ? first.code : first.code + u'-' + last.code)
                     : (youngest == oldest ? oldest->code : oldest->code + u'-' + youngest->code);
    b.name =
        oldest ? joinedNames(oldest->name, youngest->name) : joinedNames(first.name, last.name);
}

std::pair<int, int> Bins::binsOf(const Placement &placement) const
{
    if (!m_binOfStage.isEmpty())
        return {m_binOfStage.at(placement.first), m_binOfStage.at(placement.last)};
    // A bound given by its period alone, or the present, by its age.
    const int first = placement.firstUnit >= 0 ? m_binsOfUnit.at(placement.firstUnit).first
                                               : binOfBase(placement.base);
    const int last = placement.lastUnit >= 0 ? m_binsOfUnit.at(placement.lastUnit).second
                                             : binOfTop(placement.top);
    return {first, last};
}

// The youngest bin whose base is at `base` or older.
int Bins::binOfBase(double base) const
{
    const auto after = std::partition_point(
        m_bins.cbegin(), m_bins.cend(), [&](const Bin &bin) { return bin.base >= base - SameAge; });
    return std::max(0, int(after - m_bins.cbegin()) - 1);
}

// The oldest bin whose top is at `top` or younger.
int Bins::binOfTop(double top) const
{
    const auto at = std::partition_point(m_bins.cbegin(), m_bins.cend(),
                                         [&](const Bin &bin) { return bin.top > top + SameAge; });
    return std::min(int(m_bins.size()) - 1, int(at - m_bins.cbegin()));
}

QString Bins::unitsIn(const TimeScale &scale, int bin) const
{
    QStringList codes;
    for (int u : writtenIn(scale, m_bins.at(bin)))
        codes.append(scale.units()[u].code);
    return codes.join(u' ');
}

QString Bins::stagesIn(const TimeScale &scale, int bin) const
{
    const Bin &b = m_bins.at(bin);
    QStringList codes;
    for (int s = b.first; s <= b.last; ++s)
        codes.append(scale.stages()[s].code);
    return codes.join(u' ');
}

} // namespace fosdat::strata
