// Saving a catalogue: rtf::write on a document read from a catalogue file.
//   bench_rtfwriter [benchmark options] [CATALOGUE.rtf]
// CATALOGUE is any RTF file, e.g. one written by `fosdat-sampledata --scale
// 38000 FILE` (about 2.6 MB). Without a file, a catalogue-like RTF of about
// 2.5 MB is generated. The counters give the input and output sizes.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace fosdat;

namespace
{

QByteArray cyrillic(QRandomGenerator &random, int letters)
{
    QByteArray out;
    for (int i = 0; i < letters; ++i)
        out += "\\'" + QByteArray::number(0xe0 + random.bounded(32), 16);
    return out;
}

QByteArray latin(QRandomGenerator &random, int letters, char first)
{
    QByteArray out(1, first);
    for (int i = 1; i < letters; ++i)
        out += char('a' + random.bounded(26));
    return out;
}

// Genus entries in the shape of the data set's catalogues: a bold genus name,
// its author, a range in period and stage codes, reference numbers, and now
// and then a family heading in Cyrillic.
QByteArray generatedCatalogue(qsizetype targetSize)
{
    QRandomGenerator random(2024);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss"
                     "\\fcharset204 Arial;}{\\f1\\froman\\fcharset204 Times New Roman;}}\r\n"
                     "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
                     "\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20 ";
    while (rtf.size() < targetSize) {
        if (random.bounded(40) == 0) {
            rtf += "\\pard\\sb120\\cf2\\b " + cyrillic(random, 6 + random.bounded(8)) +
                   " \\'d1\\'e5\\'ec\\'e5\\'e9\\'f1\\'f2\\'e2\\'ee\\cf0\\b0\\par\r\n\\pard ";
        }
        rtf += "\\b " + latin(random, 5 + random.bounded(8), char('A' + random.bounded(26))) +
               "\\b0  " + latin(random, 4 + random.bounded(6), 'A') + ", " +
               QByteArray::number(1800 + random.bounded(200)) + " \\'97 \\i " +
               cyrillic(random, 4 + random.bounded(5)) + "\\i0  (" +
               QByteArray::number(random.bounded(1, 1200)) + ", " +
               QByteArray::number(random.bounded(1, 1200)) + ")\\par\r\n";
    }
    return rtf + "}";
}

QByteArray input;

void BM_write(benchmark::State &state)
{
    const rtf::ReadResult read = rtf::read(input);
    if (!read.ok()) {
        state.SkipWithError("not an RTF file");
        return;
    }
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray out = rtf::write(*read.document);
        benchmark::DoNotOptimize(out.constData());
        written = out.size();
    }
    state.counters["in_bytes"] = double(input.size());
    state.counters["out_bytes"] = double(written);
    state.counters["out_per_in"] = double(written) / double(input.size());
    state.counters["characters"] = double(read.document->characterCount());
    state.SetBytesProcessed(state.iterations() * written);
}
BENCHMARK(BM_write)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    benchmark::Initialize(&argc, argv);
    QGuiApplication app(argc, argv); // fonts and images need it
    if (argc > 1) {
        QFile file(QFile::decodeName(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "bench_rtfwriter: %s: %s\n", argv[1],
                         qPrintable(file.errorString()));
            return 1;
        }
        input = file.readAll();
    } else {
        input = generatedCatalogue(2'500'000);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
