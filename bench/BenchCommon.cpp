#include "BenchCommon.h"

#include "CatalogueIndex.h"

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

QStringList indexTexts(const DataSet &set)
{
    CatalogueIndex index;
    index.refresh(set.dir);
    QStringList texts;
    for (int group = 0; group < CatalogueIndex::GroupCount; ++group)
        texts.append(index.text(group));
    return texts;
}

} // namespace fosdat::bench
