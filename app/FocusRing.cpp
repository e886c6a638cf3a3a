#include "FocusRing.h"

#include <QEvent>
#include <QPainter>

namespace
{

constexpr int RingWidth = 2;

} // namespace

FocusRing::FocusRing(QWidget *target) : QFocusFrame(target), m_target(target)
{
    setGeometry(target->rect());
    setVisible(target->hasFocus());
    target->installEventFilter(this);
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            setVisible(m_target->hasFocus());
            raise(); // above the viewport and scroll bars
            break;
        case QEvent::Resize:
            setGeometry(m_target->rect());
            break;
        default:
            break;
        }
    }
    return QFocusFrame::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), RingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(RingWidth / 2.0, RingWidth / 2.0, -RingWidth / 2.0,
                                             -RingWidth / 2.0));
}
