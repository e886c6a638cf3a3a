#include "PdfExport.h"

#include "CataloguePrinter.h"
#include "SaveFile.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QtConcurrent>
#include <atomic>
#include <memory>

namespace
{

// What the worker and the window share while one export runs.
struct ExportJob {
    std::unique_ptr<CataloguePrinter> printer;
    QString path;
    std::atomic<int> pagesDone = 0;
    std::atomic<int> pages = 0;
    std::atomic<bool> stopped = false;
};

struct ExportResult {
    bool written = false;
    QString error; // empty when written or stopped
};

// Runs on a worker thread, which takes the document copy over.
ExportResult writePdf(const std::shared_ptr<ExportJob> &job)
{
    job->printer->moveToThread(QThread::currentThread());
    const QByteArray pdf = job->printer->pdf([&job](int done, int pages) {
        job->pagesDone = done;
        job->pages = pages;
        return !job->stopped;
    });
    job->printer.reset(); // freed on the thread that holds it
    if (job->stopped)
        return {};
    if (pdf.isEmpty())
        return {false, QStringLiteral("страницы не удалось нарисовать")};
    const fosdat::data::SaveResult saved = fosdat::data::saveFile(job->path, pdf);
    return {saved.ok, saved.ok ? QString() : saved.errorString};
}

constexpr int ProgressIntervalMs = 100;

} // namespace

PdfExport::PdfExport(QWidget *window) : QObject(window), m_window(window) {}

void PdfExport::start(const QTextDocument &document, const QString &caption, const QString &path)
{
    auto job = std::make_shared<ExportJob>();
    job->printer = std::make_unique<CataloguePrinter>(document, caption);
    job->printer->moveToThread(nullptr); // the worker pulls it over
    job->path = path;

    // Shown only when the export is still running after the dialog's
    // minimum duration.
    QPointer<QProgressDialog> progress =
        new QProgressDialog(QStringLiteral("Экспорт в PDF: %1").arg(caption),
                            QStringLiteral("Остановить"), 0, 0, m_window);
    progress->setObjectName(QStringLiteral("pdfProgress"));
    progress->setWindowTitle(QStringLiteral("Экспорт в PDF"));
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, this, [job] { job->stopped = true; });
    auto *timer = new QTimer(progress);
    connect(timer, &QTimer::timeout, progress, [progress, job] {
        progress->setMaximum(job->pages);
        progress->setValue(job->pagesDone);
    });
    timer->start(ProgressIntervalMs);

    auto *watcher = new QFutureWatcher<ExportResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, progress, job] {
        delete progress;
        const ExportResult result = watcher->result();
        watcher->deleteLater();
        emit finished(job->path, result.written, result.error);
    });
    watcher->setFuture(QtConcurrent::run(writePdf, job));
}
