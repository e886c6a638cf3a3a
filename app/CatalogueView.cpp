#include "CatalogueView.h"

#include "LayoutPacer.h"
#include "RtfLimits.h"
#include "ViewZoom.h"
#include "WindowFront.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextLayout>

using fosdat::TextMatch;
using fosdat::rtf::ContentRecord;

namespace
{

// A part of the catalogue holds at most this many characters: laid out in
// about 15 ms, some 250 entries of a real catalogue, two dozen screens.
constexpr qsizetype PartCharacters = 40000;
// ... and at most this estimated height, so that Qt lays it out whole even
// at the largest zoom and where the estimate falls short by half.
constexpr qreal PartHeight =
    fosdat::rtf::limits::QtLayoutHeight * 100 / ViewZoom::LargestPercent / 4;
// The part moves on once the text in sight comes within this many screens
// of one of its ends, estimated.
constexpr qreal ReserveScreens = 3;
// A screen of the catalogue window's view (361 × 329 pixels) holds about
// this many characters of a catalogue; the beginning of a large one shown
// while the rest is read fills this many such screens, and as many of the
// view's as it can hold, up to a part.
constexpr qreal ScreenArea = 361 * 329;
constexpr qreal ScreenCharacters = 1700;
constexpr qreal BeginningScreens = 5;

} // namespace

CatalogueView::CatalogueView(QWidget *parent)
    : QTextEdit(parent),
      m_catalogue(std::make_shared<const ContentRecord>(*fosdat::rtf::readRecord("{\\rtf1 }"))),
      m_catalogueBar(new QScrollBar(Qt::Vertical, this))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    m_catalogueBar->setObjectName(QStringLiteral("catalogueScrollBar"));
    m_catalogueBar->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CatalogueView::followScrolling);
    connect(m_catalogueBar, &QScrollBar::valueChanged, this, &CatalogueView::scrollCatalogueBar);
    showPart(partAround(0), false); // an empty catalogue until the first is shown
}

CatalogueView::~CatalogueView()
{
    // The text control lets go of our document before it is deleted.
    setDocument(nullptr);
}

void CatalogueView::showCatalogue(std::shared_ptr<const ContentRecord> catalogue)
{
    showFromStart(std::move(catalogue), false);
}

void CatalogueView::showBeginning(std::shared_ptr<const ContentRecord> beginning)
{
    showFromStart(std::move(beginning), true);
}

qsizetype CatalogueView::beginningCharacters() const
{
    const QSize sight = viewport()->size();
    const qreal screens = qreal(sight.width()) * sight.height() / ScreenArea;
    return std::clamp(qsizetype(BeginningScreens * screens * ScreenCharacters),
                      qsizetype(BeginningScreens * ScreenCharacters), PartCharacters);
}

void CatalogueView::showFromStart(std::shared_ptr<const ContentRecord> catalogue, bool beginning)
{
    m_catalogue = std::move(catalogue);
    m_beginning = beginning;
    // The cursor in the catalogue shown before means nothing in this one.
    showPart(partAround(0), false);
    emit documentShown();
}

// The part shown was made of the beginning's paragraphs, which are the
// whole's own: only what depends on what lies after them changes.
void CatalogueView::showRest(std::shared_ptr<const ContentRecord> whole)
{
    const ContentRecord &beginning = *m_catalogue;
    if (whole->paragraphs.size() < beginning.paragraphs.size() ||
        !QStringView(whole->text).startsWith(beginning.text)) {
        showCatalogue(std::move(whole)); // the file changed between the readings
        return;
    }
    m_catalogue = std::move(whole);
    m_beginning = false;
    fitEndMargin(m_part);
    updateCatalogueBar();
    followScrolling();
}

ContentRecord::Part CatalogueView::partAround(int paragraph) const
{
    return m_catalogue->partAround(paragraph, PartCharacters, PartHeight);
}

void CatalogueView::showPart(ContentRecord::Part part, bool keepsSelection)
{
    const qsizetype anchor = keepsSelection ? cataloguePosition(textCursor().anchor()) : 0;
    const qsizetype position = keepsSelection ? cataloguePosition(textCursor().position()) : 0;
    m_moving = true;
    // Highlights hold cursors into the document that is about to go.
    setExtraSelections({});
    fosdat::rtf::PartDocument built = fosdat::rtf::buildPart(*m_catalogue, part);
    // Laid out at the view's width from the start: a document without one is
    // laid out whole, every paragraph a single line, and then again at the width.
    built.document->setPageSize(document()->pageSize());
    fitEndMargin(built); // before it is laid out
    setDocument(built.document.get());
    m_part = std::move(built); // the document shown before goes
    LayoutPacer::pace(*m_part.document);
    emit partShown();
    const qsizetype start = m_part.start;
    const qsizetype end = m_catalogue->paragraphEnd(part.end - 1);
    if (keepsSelection && anchor >= start && anchor <= end && position >= start &&
        position <= end) {
        QTextCursor cursor(document());
        cursor.setPosition(documentPosition(anchor));
        cursor.setPosition(documentPosition(position), QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    m_moving = false;
    updateCatalogueBar();
}

qsizetype CatalogueView::cataloguePosition(int documentPosition) const
{
    return m_part.textPosition(documentPosition);
}

int CatalogueView::documentPosition(qsizetype cataloguePosition) const
{
    return m_part.documentPosition(cataloguePosition);
}

void CatalogueView::holdParagraph(int paragraph)
{
    if (paragraph < m_part.part.first || paragraph >= m_part.part.end)
        showPart(partAround(paragraph));
}

// The point asked for lies a pixel below the top: where a line starts right
// at the top, the top edge itself is also the foot of the line above.
CataloguePlace CatalogueView::topPlace() const
{
    const QTextCursor top = cursorForPosition(QPoint(0, 1));
    return {m_part.part.first + top.blockNumber(), top.positionInBlock()};
}

void CatalogueView::showAtTop(CataloguePlace place)
{
    holdParagraph(place.paragraph);
    const QTextBlock block = document()->findBlockByNumber(place.paragraph - m_part.part.first);
    if (!block.isValid())
        return;
    // Asking where a paragraph lies lays the document out up to it.
    const QAbstractTextDocumentLayout &layout = *document()->documentLayout();
    layout.blockBoundingRect(block);
    const QTextLayout &lines = *block.layout();
    const QTextLine line = lines.lineForTextPosition(qMin(place.offset, block.length() - 1));
    if (!line.isValid())
        return;
    // The catalogue's first line shows with the document's margin above it, as it did.
    const bool first = place.paragraph == 0 && line.lineNumber() == 0;
    scrollTo(block, first ? 0 : qCeil(lines.position().y() + line.y()));
}

// A screen below `top` laid out first, from `block` on, the scroll bar may
// reach it at once: the layout tells the view of the document's new height
// only later.
void CatalogueView::scrollTo(const QTextBlock &block, int top)
{
    const QAbstractTextDocumentLayout &layout = *document()->documentLayout();
    const int height = viewport()->height();
    qreal laidOut = 0;
    for (QTextBlock below = block; below.isValid() && laidOut < top + height; below = below.next())
        laidOut = layout.blockBoundingRect(below).bottom();
    QScrollBar &bar = *verticalScrollBar();
    bar.setMaximum(qMax(bar.maximum(), qCeil(laidOut) - height));
    bar.setValue(top);
}

bool CatalogueView::selectFirstMatch(const QString &text, QTextDocument::FindFlags flags)
{
    const std::optional<TextMatch> found =
        m_search.find(m_catalogue->text, fosdat::TextMatcher(text, flags), 0);
    if (!found)
        return false;
    showMatch(*found);
    return true;
}

void CatalogueView::showMatch(const TextMatch &match)
{
    QScrollBar *bar = verticalScrollBar();
    const ContentRecord::Part part = m_part.part;
    const int before = bar->value();
    holdParagraph(m_catalogue->paragraphAt(match.start));
    QTextCursor selection(document());
    selection.setPosition(documentPosition(match.start));
    selection.setPosition(documentPosition(match.end), QTextCursor::KeepAnchor);
    setTextCursor(selection);
    if (m_part.part != part || bar->value() != before) {
        scrollTo(selection.block(),
                 qMax(0, bar->value() + cursorRect().center().y() - viewport()->height() / 2));
    }
}

TextMatch CatalogueView::selection() const
{
    const QTextCursor cursor = textCursor();
    return {int(cataloguePosition(cursor.selectionStart())),
            int(cataloguePosition(cursor.selectionEnd()))};
}

void CatalogueView::bringToFront()
{
    bringWindowToFront(*window());
    setFocus(Qt::OtherFocusReason);
}

// The catalogue's first and last paragraphs come into the document before
// the keys go to them.
void CatalogueView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::MoveToStartOfDocument) ||
        event->matches(QKeySequence::SelectStartOfDocument))
        holdParagraph(0);
    else if (event->matches(QKeySequence::MoveToEndOfDocument) ||
             event->matches(QKeySequence::SelectEndOfDocument))
        holdParagraph(int(m_catalogue->paragraphs.size()) - 1);
    QTextEdit::keyPressEvent(event);
}

void CatalogueView::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    placeCatalogueBar();
    if (m_part.document)
        fitEndMargin(m_part);
}

// Below the catalogue's last line lies half a view of blank space, so that
// a match there can be shown in the middle of the view like any other; a
// beginning goes on.
void CatalogueView::fitEndMargin(const fosdat::rtf::PartDocument &part) const
{
    QTextFrame &root = *part.document->rootFrame();
    QTextFrameFormat format = root.frameFormat();
    const qreal margin = !m_beginning && part.part.end == m_catalogue->paragraphs.size()
                             ? viewport()->height() / 2
                             : part.document->documentMargin();
    if (format.bottomMargin() != margin) {
        format.setBottomMargin(margin);
        root.setFrameFormat(format);
    }
}

int CatalogueView::paragraphAt(QPoint point) const
{
    return m_part.part.first + cursorForPosition(point).blockNumber();
}

// Whatever scrolled the view (a key, the wheel, the scroll bar) is done with
// the document before the part moves on.
void CatalogueView::followScrolling()
{
    if (m_moving)
        return;
    updateCatalogueBar();
    if (!m_followPending) {
        m_followPending = true;
        QMetaObject::invokeMethod(this, &CatalogueView::movePartToSight, Qt::QueuedConnection);
    }
}

// The text in sight stays where it is; only what lies beyond it changes.
void CatalogueView::movePartToSight()
{
    m_followPending = false;
    if (m_moving)
        return;
    const ContentRecord &catalogue = *m_catalogue;
    const int count = int(catalogue.paragraphs.size());
    const ContentRecord::Part part = m_part.part;
    if (part.first == 0 && part.end == count)
        return;
    const QRect sight = viewport()->rect();
    const int top = paragraphAt(sight.topLeft());
    const int bottom = paragraphAt(sight.bottomLeft());
    const qreal reserve = ReserveScreens * sight.height();
    const bool nearStart =
        part.first > 0 && catalogue.topOf(top) - catalogue.topOf(part.first) < reserve;
    const bool nearEnd =
        part.end < count && catalogue.topOf(part.end) - catalogue.topOf(bottom + 1) < reserve;
    if ((nearStart || nearEnd) && partAround(top) != part) {
        const CataloguePlace place = topPlace();
        showPart(partAround(top));
        showAtTop(place);
    }
}

void CatalogueView::updateCatalogueBar()
{
    if (m_moving)
        return;
    const int count = int(m_catalogue->paragraphs.size());
    const bool whole = !m_beginning && m_part.part.first == 0 && m_part.part.end == count;
    if (whole != m_catalogueBar->isHidden()) {
        m_catalogueBar->setVisible(!whole);
        setVerticalScrollBarPolicy(whole ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setViewportMargins(0, 0, whole ? 0 : m_catalogueBar->sizeHint().width(), 0);
        placeCatalogueBar();
    }
    if (whole)
        return;
    const QRect sight = viewport()->rect();
    const int top = paragraphAt(sight.topLeft());
    const QSignalBlocker quiet(m_catalogueBar);
    m_catalogueBar->setRange(0, count - 1);
    m_catalogueBar->setPageStep(qMax(1, paragraphAt(sight.bottomLeft()) - top));
    m_catalogueBar->setValue(top);
}

void CatalogueView::placeCatalogueBar()
{
    const QRect inside = contentsRect();
    const int width = m_catalogueBar->sizeHint().width();
    m_catalogueBar->setGeometry(inside.right() + 1 - width, inside.top(), width, inside.height());
}

void CatalogueView::scrollCatalogueBar(int paragraph)
{
    showAtTop({paragraph, 0});
}
