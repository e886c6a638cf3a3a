#include "CataloguePrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>

namespace
{

constexpr qreal BandPointSize = 9;
constexpr qreal RuleWidthPoints = 0.5;

// What every page of one print run shares, in the device's pixels.
struct PageGeometry {
    QFont bandFont;
    qreal lineSpacing = 0;
    qreal band = 0; // the head's or the foot's height, with the gap to the text
    QSizeF body;    // the catalogue's part of the page
    qreal pageHeight = 0;
};

PageGeometry pageGeometry(const QPaintDevice &device)
{
    PageGeometry page;
    page.bandFont = QFont(QStringLiteral("Liberation Sans"));
    page.bandFont.setPointSizeF(BandPointSize);
    page.lineSpacing = QFontMetricsF(page.bandFont, &device).lineSpacing();
    page.band = page.lineSpacing * 2;
    // The device's size is its paintable area, inside the page's margins.
    page.pageHeight = device.height();
    page.body = QSizeF(device.width(), page.pageHeight - 2 * page.band);
    return page;
}

// The pages a QPrinter was asked for (0-based, inclusive), else all of them.
std::pair<int, int> pageRange(QPagedPaintDevice &device, int pages)
{
    if (auto *printer = dynamic_cast<QPrinter *>(&device);
        printer && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        return {printer->fromPage() - 1, qMin(printer->toPage(), pages) - 1};
    }
    return {0, pages - 1};
}

void paintBands(QPainter &painter, const PageGeometry &page, const QString &caption, int number,
                int pages)
{
    painter.setFont(page.bandFont);
    painter.setPen(Qt::black);
    const qreal width = page.body.width();
    const QFontMetricsF metrics(page.bandFont, painter.device());
    painter.drawText(QRectF(0, 0, width, page.lineSpacing), Qt::AlignLeft | Qt::AlignTop,
                     metrics.elidedText(caption, Qt::ElideRight, width));
    const qreal rule = page.lineSpacing * 1.3;
    painter.setPen(QPen(Qt::black, RuleWidthPoints * painter.device()->logicalDpiY() / 72.0));
    painter.drawLine(QPointF(0, rule), QPointF(width, rule));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, page.pageHeight - page.lineSpacing, width, page.lineSpacing),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Страница %1 из %2").arg(number).arg(pages));
}

} // namespace

CataloguePrinter::CataloguePrinter(const QTextDocument &document, QString caption)
    : m_document(document.clone()), m_caption(std::move(caption))
{
    // The page's margins frame the text; the copy adds none of its own.
    QTextFrameFormat frame = m_document->rootFrame()->frameFormat();
    frame.setMargin(0);
    m_document->rootFrame()->setFrameFormat(frame);
}

CataloguePrinter::~CataloguePrinter() = default;

QPageLayout CataloguePrinter::defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 15, 15, 15),
                       QPageLayout::Millimeter);
}

void CataloguePrinter::moveToThread(QThread *thread)
{
    m_document->moveToThread(thread);
}

int CataloguePrinter::print(QPagedPaintDevice &device, const Progress &progress)
{
    const PageGeometry page = pageGeometry(device);
    if (page.body.width() <= 0 || page.body.height() < page.lineSpacing)
        return 0; // margins that leave no room for a line
    // Sizes the document gives in points or at the screen's resolution are
    // scaled to the device's by its layout.
    QAbstractTextDocumentLayout *layout = m_document->documentLayout();
    layout->setPaintDevice(&device);
    if (m_document->pageSize() == page.body) // printed before: perhaps another device
        m_document->markContentsDirty(0, m_document->characterCount());
    else
        m_document->setPageSize(page.body);
    const int pages = m_document->pageCount();
    const auto [first, last] = pageRange(device, pages);
    QPainter painter;
    if (first > last || !painter.begin(&device)) {
        layout->setPaintDevice(nullptr);
        return 0;
    }
    int painted = 0;
    for (int index = first; index <= last; ++index) {
        if (index > first)
            device.newPage();
        paintBands(painter, page, m_caption, index + 1, pages);
        painter.save();
        const QRectF shown(0, index * page.body.height(), page.body.width(), page.body.height());
        painter.translate(0, page.band - shown.top());
        painter.setClipRect(shown);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line that ends where the page starts, or starts where it ends,
        // belongs to the page before or after: drawn here, clipped away, it
        // would still be text of this page for a PDF reader.
        context.clip = shown.adjusted(0, 1, 0, -1);
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
        ++painted;
        if (progress && !progress(painted, last - first + 1))
            break;
    }
    painter.end();
    layout->setPaintDevice(nullptr); // the device may go before the copy does
    return painted;
}

QByteArray CataloguePrinter::pdf(const Progress &progress)
{
    bool stopped = false;
    const Progress watch = [&](int done, int pages) {
        stopped = progress && !progress(done, pages);
        return !stopped;
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(defaultPageLayout());
    writer.setTitle(m_caption);
    writer.setCreator(QCoreApplication::applicationName());
    if (print(writer, watch) == 0 || stopped)
        return {};
    return buffer.data();
}
