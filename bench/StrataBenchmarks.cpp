// Ranges through time: every catalogue's genus entries read and counted per
// stage, beside what the search index spends on the same files in one run:
// its own build (each file read, its text taken with the text-only reader and
// held for searching), and the reading alone.
#include "BenchCommon.h"
#include "CatalogueIndex.h"
#include "DataFiles.h"
#include "GroupTable.h"
#include "RtfReader.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <QDir>

namespace fosdat::bench
{

namespace
{

QStringList cataloguePaths(const DataSet &set)
{
    QStringList paths;
    for (const data::Group &group : data::GroupTable)
        paths.append(data::nativePath(group.catalogPath, QDir(set.dir)));
    return paths;
}

QStringList readTexts(const QStringList &paths)
{
    QStringList texts;
    for (const QString &path : paths) {
        const auto bytes = data::readRegularFile(path);
        texts.append(bytes ? rtf::readText(*bytes).value_or(QString()) : QString());
    }
    return texts;
}

// Every catalogue's entries in one list, as a reader of all groups takes them.
QList<strata::GenusEntry> readEntries(const QStringList &texts)
{
    strata::GenusEntryReader reader(strata::shippedTimeScale());
    for (int row = 0; row < int(texts.size()); ++row)
        reader.read(row, texts[row]);
    return reader.takeEntries();
}

// The search index built from nothing, as its worker builds it: every file
// read, its text taken and held for searching.
void indexBuild(benchmark::State &state, const QString &dir)
{
    qint64 characters = 0;
    for (auto _ : state) {
        CatalogueIndex index;
        index.refresh(dir);
        characters = index.textSize();
        benchmark::DoNotOptimize(characters);
    }
    state.counters["text_chars"] = double(characters);
}

// The reading alone: each file read and its text taken.
void indexRead(benchmark::State &state, const QStringList &paths)
{
    qint64 characters = 0;
    for (auto _ : state) {
        characters = 0;
        for (const QString &path : paths) {
            const auto bytes = data::readRegularFile(path);
            const auto text = bytes ? rtf::readText(*bytes) : std::nullopt;
            characters += text ? text->size() : 0;
            benchmark::DoNotOptimize(text);
        }
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

void registerStrataBenchmarks(const Inputs &inputs)
{
    for (const DataSet &set : inputs.dataSets) {
        const QStringList paths = cataloguePaths(set);
        const QStringList texts = readTexts(paths);
        add(QStringLiteral("StrataIndexBuild/") + set.name,
            [dir = set.dir](benchmark::State &state) { indexBuild(state, dir); });
        add(QStringLiteral("StrataIndexRead/") + set.name,
            [paths](benchmark::State &state) { indexRead(state, paths); });
        add(QStringLiteral("StrataReadAndCount/") + set.name,
            [texts](benchmark::State &state) { readAndCount(state, texts); });
        add(QStringLiteral("StrataRecount/") + set.name,
            [entries = readEntries(texts)](benchmark::State &state) { recount(state, entries); });
    }
}

} // namespace fosdat::bench
