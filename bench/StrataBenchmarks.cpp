// Ranges through time: every catalogue's genus entries read and counted per
// stage, beside what the program spends reading the same files for its
// search (the catalogue model's reading: each file read, its text taken with
// the text-only reader; then the search index built over the texts), in one
// run.
#include "BenchCommon.h"
#include "CatalogueIndex.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <memory>

namespace fosdat::bench
{

namespace
{

// The model's texts read anew and indexed, as the program does before its
// first search.
void indexRead(benchmark::State &state, const DataSet &set)
{
    qint64 characters = 0;
    for (auto _ : state) {
        auto index = std::make_unique<CatalogueIndex>();
        catalogue::CataloguesPtr texts = readCatalogues(set);
        index->update(texts);
        characters = texts->characters();
        state.PauseTiming();
        index.reset();
        texts.reset();
        state.ResumeTiming();
    }
    state.counters["text_chars"] = double(characters);
}

// From the model's texts to the counts of every stage.
void readAndCount(benchmark::State &state, const catalogue::CataloguesPtr &texts)
{
    qsizetype entries = 0;
    for (auto _ : state) {
        catalogue::EntriesPtr read = readEntries(texts);
        const strata::StageCounts counts(read->entries(), *read->scale());
        benchmark::DoNotOptimize(counts.counted().size());
        entries = read->size();
        // Freed untimed, as indexRead() frees its index and texts.
        state.PauseTiming();
        read.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = double(entries);
}

// A change of filter: every group, and a text test on every entry.
void recount(benchmark::State &state, const catalogue::EntriesPtr &read)
{
    strata::EntryFilter filter;
    filter.groups.fill(true, qsizetype(data::GroupTable.size()));
    filter.accepts = [](const strata::GenusEntry &entry) {
        return entry.text().contains(u"ida", Qt::CaseInsensitive) ||
               entry.family().contains(u"ida", Qt::CaseInsensitive);
    };
    for (auto _ : state) {
        const strata::StageCounts counts(read->entries(), *read->scale(), filter);
        benchmark::DoNotOptimize(counts.counted().size());
    }
    state.counters["entries"] = double(read->size());
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
        const catalogue::CataloguesPtr texts = readCatalogues(set);
        add(QStringLiteral("StrataIndexRead/") + set.name,
            [set](benchmark::State &state) { indexRead(state, set); });
        add(QStringLiteral("StrataReadAndCount/") + set.name,
            [texts](benchmark::State &state) { readAndCount(state, texts); });
        add(QStringLiteral("StrataRecount/") + set.name,
            [read = readEntries(texts)](benchmark::State &state) { recount(state, read); });
    }
}

} // namespace fosdat::bench
