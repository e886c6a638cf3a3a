#include "DiversityPlot.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace fosdat::diversity
{

DiversityPlot::DiversityPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("plot"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // the figure fills its background
    setAccessibleName(QStringLiteral("График"));
    setAccessibleDescription(
        QStringLiteral("Выбранная мера по ярусам; щелчок по ярусу показывает его роды"));
}

void DiversityPlot::setContent(FigureContent content)
{
    content.hovered = m_content.hovered;
    m_content = std::move(content);
    update();
}

void DiversityPlot::setSelectedStage(int stage)
{
    if (m_content.selected == stage)
        return;
    m_content.selected = stage;
    update();
}

void DiversityPlot::setStageDescription(std::function<QString(int)> describe)
{
    m_describe = std::move(describe);
}

QRectF DiversityPlot::stageColumn(int stage) const
{
    return figure().stageColumn(stage);
}

void DiversityPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    figure().paint(painter);
}

void DiversityPlot::setHovered(int stage)
{
    if (m_content.hovered == stage)
        return;
    m_content.hovered = stage;
    update();
}

void DiversityPlot::mouseMoveEvent(QMouseEvent *event)
{
    setHovered(figure().stageAt(event->position()));
    QWidget::mouseMoveEvent(event);
}

void DiversityPlot::leaveEvent(QEvent *event)
{
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void DiversityPlot::mousePressEvent(QMouseEvent *event)
{
    const int stage = figure().stageAt(event->position());
    if (event->button() == Qt::LeftButton && stage >= 0)
        emit stageClicked(stage);
    QWidget::mousePressEvent(event);
}

bool DiversityPlot::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const int stage = figure().stageAt(help->pos());
    if (stage < 0 || !m_describe) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), m_describe(stage), this,
                       figure().stageColumn(stage).toAlignedRect());
    return true;
}

} // namespace fosdat::diversity
