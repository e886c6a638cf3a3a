// The viewer's benchmarks on a sample data set and larger generated catalogues.
//   fosdat-bench [benchmark options] SAMPLE_DIR [SCALE_FILE|DATA_SET_DIR...]
// SAMPLE_DIR holds dat/ as the viewer expects it; the per-file benchmarks run
// on its largest catalogue and on each SCALE_FILE, the search over every
// catalogue on SAMPLE_DIR and each DATA_SET_DIR.
#include "BenchCommon.h"
#include "BenchStart.h"
#include "ShownView.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace fosdat::bench;

namespace
{

// The offscreen platform warns each time a window is shown or raised; the
// benchmarks show many, and tooltips.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (message.contains(u"does not support propagateSizeHints") ||
        message.contains(u"does not support raise()"))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, {}, message)));
}

} // namespace

int main(int argc, char *argv[])
{
    fosdat::bench::startBenchmarks(&argc, argv);
    qInstallMessageHandler(quietOffscreenWarnings);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: fosdat-bench [benchmark options] SAMPLE_DIR "
                             "[SCALE_FILE|DATA_SET_DIR...]\n");
        return 2;
    }
    QString error;
    const Inputs inputs = loadInputs(arguments.front(), arguments.mid(1), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "fosdat-bench: %s\n", qPrintable(error));
        return 1;
    }

    qint64 total = 0;
    for (const Input &catalogue : inputs.catalogues)
        total += catalogue.bytes.size();
    benchmark::AddCustomContext("all-catalogues", QStringLiteral("%1 files, %2")
                                                      .arg(inputs.catalogues.size())
                                                      .arg(humanSize(total))
                                                      .toStdString());
    for (const DataSet &set : inputs.dataSets.mid(1)) {
        const QFileInfoList files =
            QDir(set.dir + QStringLiteral("/dat/BD")).entryInfoList(QDir::Files);
        qint64 bytes = 0;
        for (const QFileInfo &file : files)
            bytes += file.size();
        benchmark::AddCustomContext(
            set.name.toStdString(),
            QStringLiteral("%1 files, %2").arg(files.size()).arg(humanSize(bytes)).toStdString());
    }
    for (const Input &input : inputs.perFile()) {
        benchmark::AddCustomContext(input.name.toStdString(),
                                    QStringLiteral("%1 (%2 bytes)")
                                        .arg(humanSize(input.bytes.size()))
                                        .arg(input.bytes.size())
                                        .toStdString());
    }

    registerReadBenchmarks(inputs);
    registerViewBenchmarks(inputs);
    registerWindowBenchmarks(inputs);
    registerReferenceBenchmarks(inputs);
    registerSearchBenchmarks(inputs);
    registerPrintBenchmarks(inputs);
    registerStrataBenchmarks(inputs);
    registerDiversityBenchmarks(inputs);
    registerBinBenchmarks(inputs);
    benchmark::RunSpecifiedBenchmarks();
    releaseSharedView();
    benchmark::Shutdown();
    return 0;
}
