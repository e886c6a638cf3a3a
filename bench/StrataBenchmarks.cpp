// Ranges through time: every catalogue's genus entries read and counted per
// stage, beside what the search index spends reading the same files (its own
// build: each file read, its text taken with the text-only reader and held),
// in one run.
#include "BenchCommon.h"
#include "CatalogueIndex.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <memory>

namespace fosdat::bench
{

namespace
{

// A new index built, as the program builds it on its first search.
void indexRead(benchmark::State &state, const DataSet &set)
{
    qint64 characters = 0;
    for (auto _ : state) {
        auto index = std::make_unique<CatalogueIndex>();
        index->refresh(set.dir);
        characters = index->textSize();
        state.PauseTiming();
        index.reset();
        state.ResumeTiming();
    }
    state.counters["text_chars"] = double(characters);
}

// From the texts the index holds to the counts of every stage.
void readAndCount(benchmark::State &state, const QStringList &texts)
{
    qsizetype entries = 0;
    for (auto _ : state) {
        const QList<strata::GenusEntry> read = readEntries(texts);
        const strata::StageCounts counts(read, strata::shippedTimeScale());
        benchmark::DoNotOptimize(counts.counted().size());
        entries = read.size();
    }
    state.counters["entries"] = double(entries);
}

// A change of filter: half the groups, and a text test on every entry.
void recount(benchmark::State &state, const QList<strata::GenusEntry> &entries)
{
    strata::EntryFilter filter;
    for (std::size_t row = 0; row < data::GroupTable.size(); ++row)
        filter.groups.append(row % 2 == 0);
    filter.accepts = [](const strata::GenusEntry &entry) {
        return entry.text().contains(u"ida", Qt::CaseInsensitive) ||
               entry.family().contains(u"ida", Qt::CaseInsensitive);
    };
    for (auto _ : state) {
        const strata::StageCounts counts(entries, strata::shippedTimeScale(), filter);
        benchmark::DoNotOptimize(counts.counted().size());
    }
    state.counters["entries"] = double(entries.size());
}

} // namespace

QList<strata::GenusEntry> readEntries(const QStringList &texts)
{
    QList<strata::CatalogueInput> catalogues;
    for (int row = 0; row < int(texts.size()); ++row)
        catalogues.append({row, texts[row]});
    return strata::readGenusEntries(catalogues, strata::shippedTimeScale());
}

void registerStrataBenchmarks(const Inputs &inputs)
{
    for (const DataSet &set : inputs.dataSets) {
        const QStringList texts = indexTexts(set);
        add(QStringLiteral("StrataIndexRead/") + set.name,
            [set](benchmark::State &state) { indexRead(state, set); });
        add(QStringLiteral("StrataReadAndCount/") + set.name,
            [texts](benchmark::State &state) { readAndCount(state, texts); });
        add(QStringLiteral("StrataRecount/") + set.name,
            [entries = readEntries(texts)](benchmark::State &state) { recount(state, entries); });
    }
}

} // namespace fosdat::bench
