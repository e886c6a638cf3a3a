#include "ZoomIndicator.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QEvent>

namespace
{

constexpr int TopGap = 8;

} // namespace

ZoomIndicator::ZoomIndicator(QAbstractScrollArea *view, QAction *menuItem)
    : QLabel(view), m_view(view), m_menuItem(menuItem)
{
    setObjectName(QStringLiteral("zoomIndicator"));
    // Light text on a dark tag reads over any catalogue text.
    setStyleSheet(QStringLiteral(
        "QLabel { color: white; background: rgba(40, 40, 40, 210);"
        " border-radius: 5px; padding: 4px 12px; font-size: 14pt; font-weight: bold; }"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_menuItem->setText(menuText(100));
    m_menuItem->setEnabled(false); // it says, it does nothing
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(ShownMs);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
    view->viewport()->installEventFilter(this);
}

QString ZoomIndicator::menuText(int percent)
{
    return QStringLiteral("Масштаб %1 %").arg(percent);
}

void ZoomIndicator::showPercent(int percent)
{
    m_menuItem->setText(menuText(percent));
    setText(QStringLiteral("%1 %").arg(percent));
    adjustSize();
    place();
    show();
    raise();
    m_hideTimer.start();
}

// Centred over the top of the view's contents, which move when the view does.
void ZoomIndicator::place()
{
    const QRect contents = m_view->viewport()->geometry();
    move(contents.left() + (contents.width() - width()) / 2, contents.top() + TopGap);
}

bool ZoomIndicator::eventFilter(QObject *watched, QEvent *event)
{
    if (isVisible() && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        place();
    return QLabel::eventFilter(watched, event);
}
