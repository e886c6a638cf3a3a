#pragma once

#include "TimeAxis.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

class QPainter;

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::diversity
{

// One bar of a range chart: a genus (or a family, an order) from the base of
// the first interval it is counted in to the top of its last.
struct RangeBar {
    int entry = -1;  // in the entries the chart was made of
    QString name;    // beside the bar
    QString family;  // for ordering by family
    double base = 0; // Ma
    double top = 0;
    bool extant = false;    // drawn with an arrow to the present
    bool uncertain = false; // a "?" in its range: drawn dashed
};

enum class RangeOrder { FirstAppearance, Family };

// Oldest first appearance first, then oldest last appearance, then by name;
// or by family, and so within each, the genera without one last.
void sortBars(QList<RangeBar> &bars, RangeOrder order);

// What a range chart shows.
struct RangeChartContent {
    std::shared_ptr<const strata::TimeScale> scale;
    QList<RangeBar> bars; // in the order drawn, top down
    // The time shown, in Ma: by default from the oldest bar's base to the
    // scale's end.
    std::optional<double> oldest;
    std::optional<double> youngest;
    bool english = false;  // the chart's own texts in English
    bool byFamily = false; // a line between families
    QString title;
    QString totals;
    int hovered = -1; // a bar
};

// A range chart laid out in a rectangle and painted with a QPainter onto any
// device: the window's view, an SVG, PNG or PDF file. One row a bar, the
// names in a column at the left, the bars against the same time axis and
// band of periods and stages as the diversity figure, under the rows. It
// shows the rows from `firstRow` that fit its height: the view scrolls it and
// a PDF pages it this way.
class RangeChart
{
public:
    static constexpr double RowHeight = 13;
    // The height a chart of `rows` rows takes, and how many rows a chart
    // `height` high shows (at least one).
    static double heightFor(int rows);
    static int rowsFitting(double height);

    RangeChart(const RangeChartContent &content, const QRectF &bounds, int firstRow = 0);

    void paint(QPainter &painter) const;
    int firstRow() const { return m_firstRow; }
    int rowCount() const { return m_rows; }
    // The bar whose row is under `point`, or -1.
    int barAt(const QPointF &point) const;

private:
    void paintRows(QPainter &painter) const;
    void paintTexts(QPainter &painter) const;

    const RangeChartContent &m_content;
    QRectF m_bounds;
    QRectF m_plot; // the rows' bars; their names at its left
    int m_firstRow = 0;
    int m_rows = 0;
    TimeAxis m_axis;
};

} // namespace fosdat::diversity
