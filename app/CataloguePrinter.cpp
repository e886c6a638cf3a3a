#include "CataloguePrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

namespace
{

constexpr qreal BandPointSize = 9;
constexpr qreal RuleWidthPoints = 0.5;
// Characters laid out between two questions whether to go on: some 20 ms of
// a richly formatted catalogue's layout.
constexpr int LayoutStretch = 60000;

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

// The lines of a laid-out document, page after page. A line belongs to the
// page its top lies on; the layout moves a line that would cross the foot
// of a page to the next one. Qt's own drawing of a page draws every line of
// each paragraph that reaches into it, those of the page before included:
// clipped away they are invisible, but a PDF holds their text twice. The
// catalogue's documents are paragraphs in the root frame, without tables or
// frames of their own.
class PageLines
{
public:
    explicit PageLines(const QTextDocument &document) : m_block(document.begin()) {}

    // Passes each line above `bottom` not passed before to `draw`, with the
    // position of its paragraph.
    template <typename Draw> void takeAbove(qreal bottom, Draw &&draw)
    {
        for (; m_block.isValid(); m_block = m_block.next(), m_line = 0) {
            const QTextLayout *lines = m_block.layout();
            if (!m_block.isVisible())
                continue;
            for (; m_line < lines->lineCount(); ++m_line) {
                const QTextLine line = lines->lineAt(m_line);
                if (lines->position().y() + line.y() >= bottom)
                    return;
                draw(line, lines->position());
            }
        }
    }

private:
    QTextBlock m_block;
    int m_line = 0;
};

} // namespace

CataloguePrinter::CataloguePrinter(std::unique_ptr<QTextDocument> document, QString caption)
    : m_document(std::move(document)), m_caption(std::move(caption))
{
    // The page's margins frame the text; the document adds none of its own.
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

bool CataloguePrinter::layOut(const Progress &progress)
{
    const QAbstractTextDocumentLayout &layout = *m_document->documentLayout();
    const int characters = m_document->characterCount();
    // Asking where a paragraph lies lays the document out up to it.
    for (int at = LayoutStretch; at < characters; at += LayoutStretch) {
        layout.blockBoundingRect(m_document->findBlock(at));
        if (progress && !progress(Stage::LayingOut, at, characters))
            return false;
    }
    m_document->pageCount(); // the rest
    return true;
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
    const auto letGo = qScopeGuard([layout] { layout->setPaintDevice(nullptr); });
    if (!layOut(progress))
        return 0;
    const int pages = m_document->pageCount();
    const auto [first, last] = pageRange(device, pages);
    QPainter painter;
    if (first > last || !painter.begin(&device))
        return 0;
    PageLines lines(*m_document);
    lines.takeAbove(first * page.body.height(), [](const QTextLine &, QPointF) {});
    int painted = 0;
    for (int index = first; index <= last; ++index) {
        if (index > first)
            device.newPage();
        paintBands(painter, page, m_caption, index + 1, pages);
        painter.save();
        const QRectF shown(0, index * page.body.height(), page.body.width(), page.body.height());
        painter.translate(0, page.band - shown.top());
        painter.setClipRect(shown); // a line taller than the page ends at its foot
        painter.setPen(Qt::black);
        lines.takeAbove(shown.bottom(),
                        [&painter](const QTextLine &line, QPointF at) { line.draw(&painter, at); });
        painter.restore();
        ++painted;
        if (progress && !progress(Stage::Painting, painted, last - first + 1))
            return 0;
    }
    painter.end();
    return painted;
}

QByteArray CataloguePrinter::pdf(const Progress &progress)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(defaultPageLayout());
    writer.setTitle(m_caption);
    writer.setCreator(QCoreApplication::applicationName());
    if (print(writer, progress) == 0)
        return {};
    return buffer.data();
}
