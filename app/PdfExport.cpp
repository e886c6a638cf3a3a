#include "PdfExport.h"

#include "PrintProgress.h"
#include "SaveFile.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QProgressDialog>
#include <QTextDocument>
#include <QtConcurrent>
#include <memory>

namespace
{

struct ExportResult {
    bool written = false;
    QString error; // empty when written or stopped
};

// The dialog shows only when the export is still running by then.
constexpr int ShowProgressAfterMs = 4000;

// Runs on a worker thread, where the document is made, printed and freed.
ExportResult writePdf(const CatalogueSource &source, const QString &caption, const QString &path,
                      const std::shared_ptr<PrintRun> &run)
{
    std::unique_ptr<QTextDocument> document = source();
    if (!document)
        return {false, QStringLiteral("каталог не удалось прочитать")};
    const QByteArray pdf = CataloguePrinter(std::move(document), caption).pdf(run->progress());
    if (run->stopped)
        return {};
    if (pdf.isEmpty())
        return {false, QStringLiteral("страницы не удалось нарисовать")};
    const fosdat::data::SaveResult saved = fosdat::data::saveFile(path, pdf);
    return {saved.ok, saved.ok ? QString() : saved.errorString};
}

} // namespace

PdfExport::PdfExport(QWidget *window) : QObject(window), m_window(window) {}

void PdfExport::start(CatalogueSource source, const QString &caption, const QString &path)
{
    auto run = std::make_shared<PrintRun>();
    QPointer<QProgressDialog> progress =
        followPrintRun(m_window, QStringLiteral("Экспорт в PDF"),
                       QStringLiteral("Экспорт в PDF: %1").arg(caption), run, ShowProgressAfterMs);
    progress->setObjectName(QStringLiteral("pdfProgress"));

    auto *watcher = new QFutureWatcher<ExportResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, progress, path] {
        delete progress;
        const ExportResult result = watcher->result();
        watcher->deleteLater();
        emit finished(path, result.written, result.error);
    });
    watcher->setFuture(QtConcurrent::run(writePdf, std::move(source), caption, path, run));
}
