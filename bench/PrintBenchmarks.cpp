// Printing: a catalogue written as a PDF, by the window's export and from its
// file on disk, beside which bench/run.sh times LibreOffice's conversion; and
// how long the window stands still while its print preview is made.
#include "BenchCommon.h"
#include "CatalogueFile.h"
#include "CatalogueLoader.h"
#include "CataloguePrinter.h"
#include "PdfExport.h"
#include "RtfRecordDocument.h"
#include "SaveFile.h"
#include "ShownWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

using namespace fosdat;

namespace fosdat::bench
{

namespace
{

// The catalogue at `path` as one document, as the window prints it.
std::unique_ptr<QTextDocument> wholeDocument(const QString &path)
{
    const std::shared_ptr<const rtf::ContentRecord> catalogue = readCatalogue(path);
    return catalogue ? rtf::buildWhole(*catalogue) : nullptr;
}

void recordPdf(benchmark::State &state, const Input &input, const QString &target)
{
    recordInput(state, input);
    state.counters["pdf_bytes"] = double(QFileInfo(target).size());
}

// "Экспорт в PDF..." from the click to the file on disk: the catalogue read
// again from its file, laid out, painted and written on a worker.
void exportShown(benchmark::State &state, const Input &input)
{
    const QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("shown.pdf"));
    QWidget window;
    PdfExport pdfExport(&window);
    bool written = false;
    QEventLoop loop;
    QObject::connect(&pdfExport, &PdfExport::finished, &loop, [&](const QString &, bool ok) {
        written = ok;
        loop.quit();
    });
    for (auto _ : state) {
        pdfExport.start([path = input.path] { return wholeDocument(path); },
                        QStringLiteral("ЦЕФАЛОПОДЫ1"), target);
        loop.exec();
        if (!written) {
            state.SkipWithError("the PDF was not written");
            return;
        }
    }
    recordPdf(state, input, target);
}

// From the catalogue file to the PDF, reading included, on this thread: the
// same work as a converter's, without the start of a process.
void convertFile(benchmark::State &state, const Input &input)
{
    const QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("converted.pdf"));
    int pages = 0;
    for (auto _ : state) {
        std::unique_ptr<QTextDocument> document = wholeDocument(input.path);
        if (!document) {
            state.SkipWithError("the catalogue could not be read");
            return;
        }
        const QByteArray pdf = CataloguePrinter(std::move(document), QStringLiteral("ЦЕФАЛОПОДЫ1"))
                                   .pdf([&pages](CataloguePrinter::Stage stage, int done, int) {
                                       if (stage == CataloguePrinter::Stage::Painting)
                                           pages = done;
                                       return true;
                                   });
        if (pdf.isEmpty() || !data::saveFile(target, pdf).ok) {
            state.SkipWithError("the PDF was not written");
            return;
        }
    }
    recordPdf(state, input, target);
    state.counters["pages"] = pages;
}

// The longest time between two turns of the event loop, from start() on:
// the longest an input waits. Ticks of a 1 ms timer, which nested event
// loops turn too.
class LongestGap
{
public:
    LongestGap()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout,
                         [this] { m_longest = qMax(m_longest, m_clock.restart()); });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_ticker.start();
    }
    qint64 ms() const { return qMax(m_longest, m_clock.elapsed()); }

private:
    QTimer m_ticker;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// Ctrl+P in the window showing `input` as its first group, until the preview
// shows its pages: the longest block of the event loop is the iteration's
// time; the whole wait and the pages are counters.
void previewBlock(benchmark::State &state, const Input &input)
{
    const QString previousDir = QDir::currentPath();
    const auto back = qScopeGuard([&previousDir] { QDir::setCurrent(previousDir); });
    QTemporaryDir dataSet;
    QDir().mkpath(dataSet.filePath(QStringLiteral("dat/BD")));
    if (!QFile::link(input.path, dataSet.filePath(QStringLiteral("dat/BD/FORAM")))) {
        state.SkipWithError("the data set could not be made");
        return;
    }
    ShownWindow shown(dataSet.path());
    QElapsedTimer loading;
    loading.start();
    while (shown.window().catalogueLoader().isLoading() && loading.elapsed() < 120'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    auto *print = shown.child<QAction>(QStringLiteral("mnuPrint"));
    LongestGap gap;
    qint64 worst = 0;
    int pages = 0;
    QElapsedTimer wait;
    QTimer watch; // closes the preview once it shows its pages
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *preview = shown.window().findChild<QPrintPreviewDialog *>();
        if (!preview || !preview->isVisible())
            return;
        pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
        preview->reject();
    });
    for (auto _ : state) {
        pages = 0;
        watch.start();
        gap.start();
        wait.start();
        print->trigger();
        state.SetIterationTime(double(gap.ms()) / 1e3);
        worst = qMax(worst, gap.ms());
        watch.stop();
        if (pages == 0) {
            state.SkipWithError("the preview showed no pages");
            return;
        }
    }
    recordInput(state, input);
    state.counters["pages"] = pages;
    state.counters["longest_block_ms"] = double(worst);
    state.counters["until_closed_ms"] = double(wait.elapsed()); // the last iteration's
}

} // namespace

void registerPrintBenchmarks(const Inputs &inputs)
{
    add(QStringLiteral("PdfExport/") + inputs.largest.name,
        [input = inputs.largest](benchmark::State &state) { exportShown(state, input); });
    add(QStringLiteral("PdfFromFile/") + inputs.largest.name,
        [input = inputs.largest](benchmark::State &state) { convertFile(state, input); });
    for (const Input &input : inputs.perFile()) {
        add(QStringLiteral("PrintPreviewBlock/") + input.name,
            [input](benchmark::State &state) { previewBlock(state, input); })
            ->UseManualTime()
            ->Iterations(3);
    }
}

} // namespace fosdat::bench
