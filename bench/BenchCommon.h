#pragma once

#include "BenchInputs.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace fosdat::bench
{

// Registers `name` in milliseconds, with the lowest and highest repetition
// next to Google Benchmark's mean, median and deviation: the machine may be
// shared, and the spread tells how far to trust a median.
benchmark::internal::Benchmark *add(const QString &name,
                                    std::function<void(benchmark::State &)> body);

// The median of a benchmark's own samples (0 where there are none), for a
// counter beside the time Google Benchmark takes the median of.
double medianOf(std::vector<double> samples);

// Records the input's size with every run, for the console and the report.
void recordInput(benchmark::State &state, const Input &input);

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
