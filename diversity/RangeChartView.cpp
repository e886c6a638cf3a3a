#include "RangeChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace fosdat::diversity
{

RangeChartView::RangeChartView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("rangeView"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
}

void RangeChartView::setContent(RangeChartContent content)
{
    m_content = std::move(content);
    m_content.hovered = -1;
    verticalScrollBar()->setValue(0);
    updateScrollBar();
    viewport()->update();
}

void RangeChartView::setBarDescription(std::function<QString(const RangeBar &)> describe)
{
    m_describe = std::move(describe);
}

RangeChart RangeChartView::chart() const
{
    return RangeChart(m_content, QRectF(viewport()->rect()), verticalScrollBar()->value());
}

// One step a row: the bar stands for the rows not in sight.
void RangeChartView::updateScrollBar()
{
    const int shown = RangeChart::rowsFitting(viewport()->height());
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setRange(0, std::max(0, int(m_content.bars.size()) - shown));
}

void RangeChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    chart().paint(painter);
}

void RangeChartView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void RangeChartView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void RangeChartView::setCurrent(int bar)
{
    if (bar == m_content.hovered)
        return;
    m_content.hovered = bar;
    viewport()->update();
}

void RangeChartView::mouseMoveEvent(QMouseEvent *event)
{
    const int bar = chart().barAt(event->position());
    setCurrent(bar);
    if (bar >= 0 && m_describe)
        QToolTip::showText(event->globalPosition().toPoint(), m_describe(m_content.bars[bar]),
                           viewport());
    else
        QToolTip::hideText();
}

void RangeChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    if (const int bar = chart().barAt(event->position()); bar >= 0)
        emit barActivated(bar);
}

void RangeChartView::leaveEvent(QEvent *event)
{
    QAbstractScrollArea::leaveEvent(event);
    setCurrent(-1);
}

// Up and Down choose a row, keeping it in sight; Enter opens it. Other keys
// scroll as in any view.
void RangeChartView::keyPressEvent(QKeyEvent *event)
{
    const int count = int(m_content.bars.size());
    int step = 0;
    if (event->key() == Qt::Key_Down)
        step = 1;
    else if (event->key() == Qt::Key_Up)
        step = -1;
    if (step != 0 && count > 0) {
        const int bar = std::clamp(m_content.hovered < 0 ? verticalScrollBar()->value()
                                                         : m_content.hovered + step,
                                   0, count - 1);
        const int shown = verticalScrollBar()->pageStep();
        QScrollBar *scroll = verticalScrollBar();
        if (bar < scroll->value())
            scroll->setValue(bar);
        else if (bar >= scroll->value() + shown)
            scroll->setValue(bar - shown + 1);
        setCurrent(bar);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        m_content.hovered >= 0) {
        emit barActivated(m_content.hovered);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace fosdat::diversity
