#include "PrintPreview.h"

#include "PrintProgress.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QTextDocument>
#include <QtConcurrent>

namespace
{

// How long a run goes before its progress shows.
constexpr int ShowProgressAfterMs = 300;

// The pages painted; -1 when the catalogue could not be made.
int paintPages(const CatalogueSource &source, const QString &caption, QPrinter *printer,
               const std::shared_ptr<PrintRun> &run)
{
    std::unique_ptr<QTextDocument> document = source();
    if (!document)
        return -1;
    return CataloguePrinter(std::move(document), caption).print(*printer, run->progress());
}

// Qt's preview keeps the pages it is given as pictures (Qt 6.4), where a
// printer makes PDF or PostScript. A print run cannot be taken back: a
// printer that has been given pages prints them (Qt's CUPS printer cannot
// abort), so only the preview's runs can be stopped. tst_print's stopped
// preview fails when this no longer tells them apart.
bool isPreview(QPrinter &printer)
{
    return printer.paintEngine()->type() == QPaintEngine::Picture;
}

} // namespace

PrintPreview::PrintPreview(QWidget *window) : QObject(window), m_window(window) {}

void PrintPreview::exec(const CatalogueSource &source, const QString &caption)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(CataloguePrinter::defaultPageLayout());
    printer.setDocName(caption);
    QPrintPreviewDialog preview(&printer, m_window);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("Печать: %1").arg(caption));
    // Tall enough to read a page.
    if (const QScreen *screen = m_window->screen())
        preview.resize(screen->availableGeometry().size() * 0.85);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter *target) { paint(target, preview, source, caption); });
    preview.exec();
}

void PrintPreview::paint(QPrinter *printer, QPrintPreviewDialog &dialog,
                         const CatalogueSource &source, const QString &caption)
{
    auto run = std::make_shared<PrintRun>();
    // Qt asks for the first pages before the preview shows.
    QWidget *above = dialog.isVisible() ? &dialog : m_window;
    const std::unique_ptr<QProgressDialog> progress(
        followPrintRun(above, QStringLiteral("Печать"), QStringLiteral("Печать: %1").arg(caption),
                       run, ShowProgressAfterMs));
    progress->setObjectName(QStringLiteral("printProgress"));
    // No other request while this one waits, and no other command.
    progress->setWindowModality(Qt::WindowModal);
    if (!isPreview(*printer))
        progress->setCancelButton(nullptr);

    QEventLoop loop;
    QFutureWatcher<int> watcher;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(paintPages, source, caption, printer, run));
    loop.exec();

    const int pages = watcher.result();
    if (run->stopped || pages <= 0) {
        // Closed once Qt has taken what was painted, when it may be shown.
        QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
    }
    if (!run->stopped && pages <= 0) {
        // Said once the preview has closed, not within Qt's request.
        const QString error = pages < 0 ? QStringLiteral("каталог не удалось прочитать")
                                        : QStringLiteral("страницы не удалось нарисовать");
        QMetaObject::invokeMethod(
            this, [this, error] { emit failed(error); }, Qt::QueuedConnection);
    }
}
