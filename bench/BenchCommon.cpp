#include "BenchCommon.h"

#include <algorithm>

namespace fosdat::bench
{

namespace
{

double lowest(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double highest(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

} // namespace

double medianOf(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    const auto middle = samples.begin() + qsizetype(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

benchmark::internal::Benchmark *add(const QString &name,
                                    std::function<void(benchmark::State &)> body)
{
    return benchmark::RegisterBenchmark(name.toStdString().c_str(),
                                        [body](benchmark::State &state) { body(state); })
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("min", lowest)
        ->ComputeStatistics("max", highest);
}

void recordInput(benchmark::State &state, const Input &input)
{
    state.counters["in_bytes"] = double(input.bytes.size());
    state.SetLabel(humanSize(input.bytes.size()).toStdString());
}

} // namespace fosdat::bench
