// The time scale and the bins genera are counted in: a user's time scale file
// as large as the program takes, read over the shipped one.
#include "BenchCommon.h"
#include "BenchInputs.h"
#include "Bins.h"
#include "StageCounts.h"
#include "TimeScale.h"
#include "UserTimeScale.h"

namespace fosdat::bench
{

namespace
{

// A valid user file of `bytes` bytes at most: codes of its own for every
// chart stage and for runs of stages, as a colleague's list of regional
// units would give them, and period codes.
QString userScaleText(qsizetype bytes)
{
    const strata::TimeScale &scale = strata::shippedTimeScale();
    const QList<strata::Stage> &stages = scale.stages();
    QString text = QStringLiteral("version,bench\n");
    qsizetype size = text.size();
    for (int n = 0;; ++n) {
        const strata::Stage &first = stages[n % stages.size()];
        const strata::Stage &last =
            stages[std::min<qsizetype>(n % stages.size() + n % 3, stages.size() - 1)];
        const QString line =
            n % 50 == 0
                ? QStringLiteral("period,P%1,период %1,%2\n").arg(n).arg(first.period)
                : QStringLiteral("alias,U%1x,единица %1,%2,%3\n").arg(n).arg(first.code, last.code);
        size += line.toUtf8().size();
        if (size > bytes)
            return text;
        text += line;
    }
}

void readUserScale(benchmark::State &state, const QString &text)
{
    const QString shipped = strata::shippedTimeScaleText();
    qsizetype units = 0;
    for (auto _ : state) {
        const strata::ScaleReading reading = strata::readTimeScale(shipped, text);
        units = reading.scale.units().size();
        if (!reading.errors.isEmpty())
            state.SkipWithError(qPrintable(reading.errors.front().message));
    }
    state.counters["units"] = double(units);
    state.counters["bytes"] = double(text.toUtf8().size());
}

// A change of the kind of bins: the bins made and every entry counted on
// them, as the window recounts.
void countOnBins(benchmark::State &state, const catalogue::EntriesPtr &read, strata::BinKind kind)
{
    const strata::TimeScale &scale = *read->scale();
    const QList<strata::GenusEntry> &entries = read->entries();
    int bins = 0;
    for (auto _ : state) {
        const strata::Bins binned(scale, kind, strata::writtenUnits(entries, scale, {}, {}));
        const strata::StageCounts counts(entries, binned);
        bins = counts.stageCount();
        benchmark::DoNotOptimize(counts.counted().size());
    }
    state.counters["bins"] = double(bins);
    state.counters["entries"] = double(entries.size());
}

} // namespace

void registerBinBenchmarks(const Inputs &inputs)
{
    for (const DataSet &set : inputs.dataSets) {
        const catalogue::EntriesPtr read = readEntries(readCatalogues(set));
        for (const char *kind : {"units", "stages", "periods", "10myr"}) {
            add(QStringLiteral("BinCount/%1/").arg(QLatin1StringView(kind)) + set.name,
                [read, kind](benchmark::State &state) {
                    countOnBins(state, read, *strata::binKindFromKey(QString::fromLatin1(kind)));
                });
        }
    }
    add(QStringLiteral("TimeScaleUserFile/largest"),
        [text = userScaleText(data::MaxUserTimeScaleBytes)](benchmark::State &state) {
            readUserScale(state, text);
        });
}

} // namespace fosdat::bench
