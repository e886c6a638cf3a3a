#include "Survivorship.h"

#include "Bins.h"
#include "GenusEntries.h"
#include "RangeTables.h"
#include "StageCounts.h"

#include <QIODevice>
#include <algorithm>
#include <cmath>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

// About as many classes of durations at most.
constexpr int MostClasses = 40;
// A duration this close below a class's end is taken as at it: ages written
// to 0.01 Myr give differences a rounding error short.
constexpr double SameDuration = 1e-9;

} // namespace

double niceStep(double rough)
{
    if (!(rough > 0) || !std::isfinite(rough))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10 * power;
}

Survivorship::Survivorship(const QList<GenusEntry> &entries, const StageCounts &counts,
                           const Bins &bins)
    : m_binCount(int(bins.bins().size()))
{
    m_spans.reserve(counts.counted().size());
    for (int entry : counts.counted()) {
        const Placement &placement = entries.at(entry).placement;
        const auto [first, last] = bins.binsOf(placement);
        const double myr = bins.bins().at(first).base - bins.bins().at(last).top;
        m_spans.append({entry, first, last, placement.extant, myr});
    }
}

QList<GenusSpan> Survivorship::cohort(int bin) const
{
    QList<GenusSpan> found;
    for (const GenusSpan &span : m_spans) {
        if (span.first == bin)
            found.append(span);
    }
    return found;
}

// A genus of the cohort is still there in `bin` when its last bin is that
// one or later, or when it lives today: then to the youngest bin.
QList<CohortStep> Survivorship::survival(int bin) const
{
    if (bin < 0 || bin >= m_binCount)
        return {};
    const QList<GenusSpan> genera = cohort(bin);
    QList<CohortStep> steps;
    for (int b = bin; b < m_binCount; ++b) {
        const auto surviving =
            int(std::count_if(genera.cbegin(), genera.cend(),
                              [&](const auto &g) { return g.living || g.last >= b; }));
        steps.append(
            {b, surviving,
             genera.isEmpty() ? std::nullopt : std::optional(double(surviving) / genera.size())});
    }
    return steps;
}

double Survivorship::durationClassWidth(double longest)
{
    return niceStep(longest / MostClasses);
}

QList<DurationClass> Survivorship::durationClasses(const QList<GenusSpan> &spans)
{
    if (spans.isEmpty())
        return {};
    double longest = 0;
    for (const GenusSpan &span : spans)
        longest = std::max(longest, span.myr);
    const double width = durationClassWidth(longest);
    const auto classOf = [&](double myr) {
        return std::max(0, int(std::floor(myr / width + SameDuration)));
    };
    QList<DurationClass> classes;
    for (int c = 0; c <= classOf(longest); ++c)
        classes.append({c * width, (c + 1) * width, 0, 0});
    for (const GenusSpan &span : spans) {
        DurationClass &in = classes[classOf(span.myr)];
        ++(span.living ? in.living : in.extinct);
    }
    return classes;
}

bool writeDurationTable(QIODevice &out, const QList<GenusEntry> &entries,
                        const Survivorship &survivorship, const Bins &bins, int cohortBin)
{
    CsvWriter csv(out);
    csv.fields({u"genus", u"family", u"range", u"first_bin", u"last_bin", u"base_ma", u"top_ma",
                u"duration_myr", u"living", u"cohort"});
    csv.endRow();
    for (const GenusSpan &span : survivorship.spans()) {
        const GenusEntry &entry = entries.at(span.entry);
        const Bin &first = bins.bins().at(span.first);
        const Bin &last = bins.bins().at(span.last);
        csv.fields({entry.genus(), entry.family(), entry.range(), first.code, last.code});
        csv.number(first.base);
        csv.number(last.top);
        csv.number(span.myr);
        csv.fields({span.living ? u"1" : u"0", span.first == cohortBin ? u"1" : u"0"});
        csv.endRow();
    }
    return csv.finish();
}

bool writeSurvivalTable(QIODevice &out, const Survivorship &survivorship, const Bins &bins,
                        int cohortBin)
{
    CsvWriter csv(out);
    csv.fields({u"bin", u"name", u"base_ma", u"top_ma", u"surviving", u"share"});
    csv.endRow();
    for (const CohortStep &step : survivorship.survival(cohortBin)) {
        const Bin &bin = bins.bins().at(step.bin);
        csv.fields({bin.code, bin.name});
        csv.number(bin.base);
        csv.number(bin.top);
        csv.number(step.surviving);
        csv.number(step.share);
        csv.endRow();
    }
    return csv.finish();
}

QByteArray durationTable(const QList<GenusEntry> &entries, const Survivorship &survivorship,
                         const Bins &bins, int cohortBin)
{
    return inMemory(
        [&](QIODevice &out) { writeDurationTable(out, entries, survivorship, bins, cohortBin); });
}

QByteArray survivalTable(const Survivorship &survivorship, const Bins &bins, int cohortBin)
{
    return inMemory(
        [&](QIODevice &out) { writeSurvivalTable(out, survivorship, bins, cohortBin); });
}

} // namespace fosdat::strata
