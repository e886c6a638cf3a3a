#include "LinkLabel.h"

#include <QMouseEvent>

HoverLabel::HoverLabel(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void HoverLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered();
    QLabel::mouseMoveEvent(event);
}

LinkLabel::LinkLabel(QWidget *parent) : HoverLabel(parent) {}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept(); // so that the release comes here too
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_pressed = false;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
