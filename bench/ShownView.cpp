#include "ShownView.h"

#include "CatalogueFile.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTextDocument>
#include <QThread>
#include <QWindow>

namespace fosdat::bench
{

namespace
{

// The catalogue view's size in the catalogue window.
constexpr QSize ViewSize(361, 329);

std::unique_ptr<ShownView> shared;

} // namespace

ShownView &sharedView()
{
    if (!shared)
        shared = std::make_unique<ShownView>();
    return *shared;
}

void releaseSharedView()
{
    shared.reset();
}

bool waitUntilExposed(QWidget &window)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (window.windowHandle() && window.windowHandle()->isExposed())
            return true;
        QThread::msleep(1);
    }
    return false;
}

ShownView::ShownView() : m_box(std::make_unique<CatalogueView>())
{
    m_box->resize(ViewSize);
    m_box->show();
    waitUntilExposed(*m_box);
}

bool ShownView::load(const QString &path)
{
    std::shared_ptr<const rtf::ContentRecord> catalogue = readCatalogue(path);
    if (!catalogue)
        return false;
    m_box->showCatalogue(std::move(catalogue));
    return true;
}

void ShownView::paintVisiblePart()
{
    m_box->viewport()->grab();
}

void ShownView::layOutEverything()
{
    // QTextDocumentLayout finishes its layout before it reports the size.
    m_box->document()->documentLayout()->documentSize();
}

bool ShownView::laidOutToTheEnd() const
{
    const QTextBlock last = m_box->document()->lastBlock();
    return last.isValid() && last.layout() && last.layout()->lineCount() > 0;
}

void ShownView::clear()
{
    m_box->clear();
    QApplication::processEvents();
}

} // namespace fosdat::bench
