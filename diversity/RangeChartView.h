#pragma once

#include "RangeChart.h"

#include <QAbstractScrollArea>
#include <functional>

namespace fosdat::diversity
{

// A range chart in a window: as many rows as fit, scrolled through the rest,
// the time axis and band always in sight below them. The row under the mouse
// or chosen with the arrow keys is the current one: its entry shows as a tool
// tip, and a click or Enter opens it.
class RangeChartView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit RangeChartView(QWidget *parent = nullptr);

    void setContent(RangeChartContent content);
    const RangeChartContent &content() const { return m_content; }
    // What a bar's tool tip says.
    void setBarDescription(std::function<QString(const RangeBar &)> describe);
    int currentBar() const { return m_content.hovered; }

signals:
    void barActivated(int bar);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    RangeChart chart() const;
    void setCurrent(int bar);
    void updateScrollBar();

    RangeChartContent m_content;
    std::function<QString(const RangeBar &)> m_describe;
};

} // namespace fosdat::diversity
