// RTF reading alone: bytes in memory to a finished QTextDocument, or to the
// plain text.
#include "BenchCommon.h"
#include "RtfReader.h"
#include "RtfText.h"

using namespace fosdat;

namespace fosdat::bench
{

namespace
{

// Reads every input once per iteration; the documents are freed outside the
// timed part.
void readAll(benchmark::State &state, const QList<Input> &files)
{
    qint64 bytes = 0;
    for (const Input &file : files)
        bytes += file.bytes.size();
    std::vector<rtf::ReadResult> results(size_t(files.size()));
    for (auto _ : state) {
        for (qsizetype i = 0; i < files.size(); ++i) {
            results[size_t(i)] = rtf::read(files[i].bytes);
            benchmark::DoNotOptimize(results[size_t(i)].document.get());
        }
        state.PauseTiming();
        for (rtf::ReadResult &result : results) {
            if (!result.ok()) {
                state.SkipWithError("not read as RTF");
                return;
            }
            result = {};
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["in_bytes"] = double(bytes);
    state.counters["files"] = double(files.size());
    state.SetLabel(humanSize(bytes).toStdString());
}

// The text alone, as rtf2txt reads it: no document is built.
void readText(benchmark::State &state, const Input &input)
{
    for (auto _ : state) {
        const std::optional<QString> text = rtf::readText(input.bytes);
        if (!text) {
            state.SkipWithError("not read as RTF");
            return;
        }
        benchmark::DoNotOptimize(text->constData());
    }
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
    recordInput(state, input);
}

} // namespace

void registerReadBenchmarks(const Inputs &inputs)
{
    add(QStringLiteral("Read/all-catalogues"),
        [files = inputs.catalogues](benchmark::State &state) { readAll(state, files); });
    for (const Input &input : inputs.perFile()) {
        add(QStringLiteral("Read/") + input.name,
            [input](benchmark::State &state) { readAll(state, {input}); });
        add(QStringLiteral("ReadText/") + input.name,
            [input](benchmark::State &state) { readText(state, input); });
    }
}

} // namespace fosdat::bench
