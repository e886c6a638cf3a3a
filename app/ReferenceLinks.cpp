#include "ReferenceLinks.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolTip>

using namespace fosdat;

namespace
{

// A reference of a few lines is shown whole; a longer one is cut at a word.
constexpr qsizetype MaxToolTipCharacters = 600;
// A tooltip of rich text wraps at about 80 average characters; a word longer
// than half that is given a place to break after every so many letters, or
// it would make the tooltip as wide as itself, past the screen's edge.
constexpr qsizetype MaxUnbrokenLetters = 40;

QString elided(const QString &text)
{
    if (text.size() <= MaxToolTipCharacters)
        return text;
    qsizetype cut = text.lastIndexOf(u' ', MaxToolTipCharacters);
    if (cut < MaxToolTipCharacters / 2)
        cut = MaxToolTipCharacters;
    return text.left(cut) + u'…';
}

// `text` with a zero-width space, where a line may break, within every run
// of more than MaxUnbrokenLetters characters without a space (never inside
// a character of two code units, nor before an accent).
QString breakable(const QString &text)
{
    QString broken;
    broken.reserve(text.size() + text.size() / MaxUnbrokenLetters);
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > MaxUnbrokenLetters && !c.isLowSurrogate() && !c.isMark()) {
            broken += QChar(0x200B);
            run = 1;
        }
        broken += c;
    }
    return broken;
}

} // namespace

ReferenceLinks::ReferenceLinks(QTextEdit *view)
    : QObject(view), m_view(view), m_viewport(view->viewport())
{
    m_viewport->setMouseTracking(true);
    m_viewport->installEventFilter(this);
}

std::optional<ReferenceLinks::Hit> ReferenceLinks::hitAt(QPoint point) const
{
    const QPointF offset(m_view->horizontalScrollBar()->value(),
                         m_view->verticalScrollBar()->value());
    const QPointF inDocument = QPointF(point) + offset;
    QTextDocument *document = m_view->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const int position = layout->hitTest(inDocument, Qt::FuzzyHit);
    const QTextBlock block = document->findBlock(position);
    if (position < 0 || !block.isValid() || !block.layout())
        return std::nullopt;
    const QRectF blockRect = layout->blockBoundingRect(block);
    const QPointF inBlock = inDocument - blockRect.topLeft();
    const QTextLayout &lines = *block.layout();
    for (int i = 0; i < lines.lineCount(); ++i) {
        const QTextLine line = lines.lineAt(i);
        if (inBlock.y() < line.y() || inBlock.y() >= line.y() + line.height())
            continue;
        const int index = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
        const auto mention = data::referenceNumberAt(block.text(), index);
        if (!mention)
            return std::nullopt;
        // The pointer must be over the digits themselves, not beside them.
        const qreal left = line.cursorToX(int(mention->position));
        const qreal right = line.cursorToX(int(mention->position + mention->length));
        if (inBlock.x() < left || inBlock.x() >= right)
            return std::nullopt;
        const QRectF drawn(blockRect.left() + left, blockRect.top() + line.y(), right - left,
                           line.height());
        return Hit{*mention, drawn.translated(-offset).toAlignedRect()};
    }
    return std::nullopt;
}

QString ReferenceLinks::toolTipText(int number)
{
    if (const std::optional<data::Reference> reference = m_lists.find(number))
        return elided(reference->text.simplified());
    return QStringLiteral("Ссылка %1 в списке не найдена").arg(number);
}

QString ReferenceLinks::toolTipAt(QPoint point)
{
    const std::optional<Hit> hit = hitAt(point);
    return hit ? toolTipText(hit->mention.number) : QString();
}

bool ReferenceLinks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        showPointer(hitAt(static_cast<QMouseEvent *>(event)->position().toPoint()).has_value());
        break;
    case QEvent::Leave:
        showPointer(false);
        break;
    case QEvent::ToolTip:
        return showToolTip(*static_cast<QHelpEvent *>(event));
    case QEvent::MouseButtonPress:
        press(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        release(*static_cast<QMouseEvent *>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ReferenceLinks::showPointer(bool overNumber)
{
    if (overNumber && !m_restCursor) {
        m_restCursor = m_viewport->cursor();
        m_viewport->setCursor(Qt::PointingHandCursor);
    } else if (!overNumber && m_restCursor) {
        m_viewport->setCursor(*m_restCursor);
        m_restCursor.reset();
    }
}

// Off a number the view handles the tooltip event as it would anyway.
bool ReferenceLinks::showToolTip(const QHelpEvent &event)
{
    const std::optional<Hit> hit = hitAt(event.pos());
    if (!hit)
        return false;
    const QString text = toolTipText(hit->mention.number);
    // As rich text, a long reference wraps instead of making the tip as wide as the screen.
    QToolTip::showText(event.globalPos(), Qt::convertFromPlainText(breakable(text)), m_viewport,
                       hit->rect);
    return true;
}

// A click is a left press and release on the same number, without dragging
// a selection in between; a double click's second press is no click.
void ReferenceLinks::press(const QMouseEvent &event)
{
    m_pressedNumber.reset();
    if (event.button() != Qt::LeftButton)
        return;
    if (const std::optional<Hit> hit = hitAt(event.position().toPoint())) {
        m_pressedNumber = hit->mention.number;
        m_pressPoint = event.position().toPoint();
    }
}

void ReferenceLinks::release(const QMouseEvent &event)
{
    const std::optional<int> pressed = std::exchange(m_pressedNumber, std::nullopt);
    if (!pressed || event.button() != Qt::LeftButton)
        return;
    const QPoint point = event.position().toPoint();
    if ((point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance())
        return;
    const std::optional<Hit> hit = hitAt(point);
    if (!hit || hit->mention.number != *pressed)
        return;
    follow(*pressed);
}

std::optional<int> ReferenceLinks::numberAt(QPoint point) const
{
    const std::optional<Hit> hit = hitAt(point);
    return hit ? std::optional(hit->mention.number) : std::nullopt;
}

bool ReferenceLinks::follow(int number)
{
    const std::optional<data::Reference> reference = m_lists.find(number);
    if (reference)
        emit referenceChosen(reference->list, reference->number);
    return reference.has_value();
}
