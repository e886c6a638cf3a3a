#pragma once

#include "BenchInputs.h"
#include "GenusEntries.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <functional>

namespace fosdat::bench
{

// Registers `name` in milliseconds, with the lowest and highest repetition
// next to Google Benchmark's mean, median and deviation: the machine may be
// shared, and the spread tells how far to trust a median.
benchmark::internal::Benchmark *add(const QString &name,
                                    std::function<void(benchmark::State &)> body);

// Records the input's size with every run, for the console and the report.
void recordInput(benchmark::State &state, const Input &input);

// The text of each group's catalogue in `set`, by group row, as the search
// index holds it: what the program reads genus entries from.
QStringList indexTexts(const DataSet &set);

// Every catalogue's entries of those texts in one list, as the window reads
// them against the shipped time scale.
QList<strata::GenusEntry> readEntries(const QStringList &texts);

void registerReadBenchmarks(const Inputs &inputs);
void registerViewBenchmarks(const Inputs &inputs);
void registerWindowBenchmarks(const Inputs &inputs);
void registerReferenceBenchmarks(const Inputs &inputs);
void registerSearchBenchmarks(const Inputs &inputs);
void registerPrintBenchmarks(const Inputs &inputs);
void registerStrataBenchmarks(const Inputs &inputs);
void registerDiversityBenchmarks(const Inputs &inputs);
void registerBinBenchmarks(const Inputs &inputs);

} // namespace fosdat::bench
