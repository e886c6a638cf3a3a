#pragma once

#include "DiversityFigure.h"

#include <QWidget>
#include <functional>

namespace fosdat::diversity
{

// The figure on screen: it marks the stage under the mouse, describes it in
// a tooltip and says which stage was clicked.
class DiversityPlot : public QWidget
{
    Q_OBJECT

public:
    explicit DiversityPlot(QWidget *parent = nullptr);

    void setContent(FigureContent content);
    const FigureContent &content() const { return m_content; }
    void setSelectedStage(int stage);
    // What the tooltip of a stage says.
    void setStageDescription(std::function<QString(int stage)> describe);

    // The stage's column in the widget, as the figure lays it out now.
    QRectF stageColumn(int stage) const;

    QSize sizeHint() const override { return {900, 420}; }
    QSize minimumSizeHint() const override { return {420, 260}; }

signals:
    void stageClicked(int stage);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    DiversityFigure figure() const { return DiversityFigure(m_content, rect()); }
    void setHovered(int stage);

    FigureContent m_content;
    std::function<QString(int)> m_describe;
};

} // namespace fosdat::diversity
