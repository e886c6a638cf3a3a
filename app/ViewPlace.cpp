#include "ViewPlace.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

// The view's document holds the catalogue from its first paragraph on: a
// paragraph's number is its block's. The point asked for lies a pixel below
// the top: where a line starts right at the top, the top edge itself is
// also the foot of the line above.
CataloguePlace topPlace(const QTextEdit &view)
{
    const QTextCursor top = view.cursorForPosition(QPoint(0, 1));
    return {top.blockNumber(), top.positionInBlock()};
}

void showAtTop(QTextEdit &view, CataloguePlace place)
{
    const QTextBlock block = view.document()->findBlockByNumber(place.paragraph);
    if (!block.isValid())
        return;
    // Asking where a paragraph lies lays the document out up to it.
    const QAbstractTextDocumentLayout &layout = *view.document()->documentLayout();
    layout.blockBoundingRect(block);
    const QTextLayout &lines = *block.layout();
    const QTextLine line = lines.lineForTextPosition(qMin(place.offset, block.length() - 1));
    if (!line.isValid())
        return;
    // The first line shows with the document's margin above it, as it did.
    const bool first = place.paragraph == 0 && line.lineNumber() == 0;
    const int top = first ? 0 : qCeil(lines.position().y() + line.y());
    // A screen below it laid out too, the scroll bar may reach it at once:
    // the layout tells the view of the document's new height only later.
    const int height = view.viewport()->height();
    qreal laidOut = 0;
    for (QTextBlock below = block; below.isValid() && laidOut < top + height; below = below.next())
        laidOut = layout.blockBoundingRect(below).bottom();
    QScrollBar &bar = *view.verticalScrollBar();
    bar.setMaximum(qMax(bar.maximum(), qCeil(laidOut) - height));
    bar.setValue(top);
}

TopKeeper::TopKeeper(QTextEdit *view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
}

// The view's own resize comes before its contents are laid out anew at the
// new width, so the place is still that of the old layout; it is brought
// back once the resizes that came with it are done, before the view paints.
bool TopKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && !m_pending && m_view->isVisible()) {
        const auto *resize = static_cast<const QResizeEvent *>(event);
        if (resize->oldSize().width() != resize->size().width()) {
            m_place = topPlace(*m_view);
            m_document = m_view->document();
            m_pending = true;
            QMetaObject::invokeMethod(this, &TopKeeper::restore, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void TopKeeper::restore()
{
    m_pending = false;
    if (m_document == m_view->document())
        showAtTop(*m_view, m_place);
}
