#pragma once

#include "RangeChart.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QToolButton;

namespace fosdat::diversity
{

class RangeChartView;

enum class ChartFormat { Svg, Png, Pdf };

// The window "Диаграмма распространения": the range chart of the genera the
// diversity window sends, ordered by first appearance or by family, with
// what it holds in a line above it. It says which entry to open and which
// export the user asked for.
class RangeChartWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RangeChartWindow(QWidget *parent = nullptr);

    // The bars to chart, in any order; their title and totals in the
    // window's Russian and in English for exports.
    void setChart(RangeChartContent content, const QString &englishTitle,
                  const QString &englishTotals);
    // The chart as shown, its texts in English if asked.
    RangeChartContent content(bool english) const;
    RangeChartView *view() const { return m_view; }

signals:
    void entryOpened(int entry);
    void exportRequested(fosdat::diversity::ChartFormat format);

private:
    void order();

    QString m_englishTitle;
    QString m_englishTotals;
    QLabel *m_caption;
    QComboBox *m_order;
    QToolButton *m_export;
    RangeChartView *m_view;
};

} // namespace fosdat::diversity
