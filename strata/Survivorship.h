#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

class QIODevice;

namespace fosdat::strata
{

class Bins;
class GenusEntry;
class StageCounts;

// How long a counted genus lived, at the resolution of the bins it is
// counted in: from the base of its first bin to the top of its last, the
// bins the counts place it in (Bins::binsOf), so never finer than the bins.
// A genus living today runs to the top of the youngest bin, the present; its
// duration is a minimum, censored by the present.
struct GenusSpan {
    int entry = 0; // into the entries counted
    int first = 0; // its first and last bin
    int last = 0;
    bool living = false;
    double myr = 0;
};

// A class of durations, from <= duration < to, with the genera in it; a
// duration a rounding error short of a class's start is taken as at it.
struct DurationClass {
    double from = 0; // Myr
    double to = 0;
    int extinct = 0;
    int living = 0; // censored: their true durations may lie in a later class
};

// One bin of a cohort's survivorship: how many of the genera that first
// appear in the cohort's bin are still there, their last bin this one or a
// later, or living today.
struct CohortStep {
    int bin = 0;
    int surviving = 0;
    std::optional<double> share; // of the cohort; empty for an empty cohort
};

// The durations of the genera of counts made of `entries` on `bins`, and the
// cohorts of each bin: the genera whose first bin it is. Made of the
// genera the counts counted, so the counts' filter and options hold alike.
class Survivorship
{
public:
    Survivorship(const QList<GenusEntry> &entries, const StageCounts &counts, const Bins &bins);

    // Every genus counted, in the counts' order.
    const QList<GenusSpan> &spans() const { return m_spans; }
    int binCount() const { return m_binCount; }

    // The genera whose first bin is `bin`; none for a bin out of range.
    QList<GenusSpan> cohort(int bin) const;
    // The cohort of `bin` in it and every later bin, to the youngest.
    QList<CohortStep> survival(int bin) const;

    // The durations of `spans` in classes of durationClassWidth() of the
    // longest, from 0 to past the longest; none for no spans.
    static QList<DurationClass> durationClasses(const QList<GenusSpan> &spans);
    static double durationClassWidth(double longest);

private:
    QList<GenusSpan> m_spans;
    int m_binCount = 0;
};

// 1, 2 or 5 times a power of ten, at least `rough`; 1 for no positive value.
double niceStep(double rough);

// The tables of one set of counts, written with CsvWriter; each gives
// whether the device took all.

// One row for each genus counted: genus, family, range (as written),
// first_bin, last_bin (their codes), base_ma, top_ma (the base of the
// first bin and the top of the last), duration_myr, living (1: censored,
// the duration a minimum) and cohort (1 for a genus of the cohort of
// `cohortBin`).
bool writeDurationTable(QIODevice &out, const QList<GenusEntry> &entries,
                        const Survivorship &survivorship, const Bins &bins, int cohortBin);

// One row for the cohort's bin and each later: bin, name, base_ma, top_ma,
// surviving (the genera of the cohort in it), share (of the cohort).
bool writeSurvivalTable(QIODevice &out, const Survivorship &survivorship, const Bins &bins,
                        int cohortBin);

QByteArray durationTable(const QList<GenusEntry> &entries, const Survivorship &survivorship,
                         const Bins &bins, int cohortBin);
QByteArray survivalTable(const Survivorship &survivorship, const Bins &bins, int cohortBin);

} // namespace fosdat::strata
