#pragma once

#include "TimeAxis.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

class QColor;
class QPainter;

namespace fosdat::strata
{
class Bins;
class TimeScale;
} // namespace fosdat::strata

namespace fosdat::diversity
{

// How many selections one figure compares, the first included.
inline constexpr int MaxSeries = 6;

// A second measure drawn beside the first, in a colour of its own.
struct FigureSeries {
    QString name; // in the legend
    QList<std::optional<double>> values;
    QList<std::optional<double>> errors;
};

// What a figure shows: one value of a measure for each interval of a time
// scale, its stages or other bins. "Stage" below is such an interval.
struct FigureContent {
    std::shared_ptr<const strata::TimeScale> scale;
    std::shared_ptr<const strata::Bins> bins; // of `scale`; none: its stages
    QList<std::optional<double>> values;      // by bin; empty where undefined
    // ±1 standard error of each value, drawn as a bar; empty: none.
    QList<std::optional<double>> errors;
    // With a second series, both are named in a legend and neither is filled.
    QString valuesName;
    std::optional<FigureSeries> second;
    // Other selections of groups and text, each a line of its own colour
    // named in the legend beside valuesName, up to MaxSeries in all.
    QList<FigureSeries> series;
    // A part of each value filled in a darker shade from the axis up (the
    // extinct genera of a count, the living ones above them), both named.
    std::optional<FigureSeries> part;
    QString restName;
    // A light band from low to high around each value: what the value
    // would be with fewer or more entries counted. Empty: none.
    QList<std::optional<double>> bandLow;
    QList<std::optional<double>> bandHigh;
    // By bin, the entries not counted for an unknown stage code that are
    // written under its period: a hatched strip along the axis marks where
    // a count is short of them, so that a gap is not read as an extinction.
    QList<int> notCounted;
    // The time shown, in Ma: none, or an oldest not older than the
    // youngest, the whole scale's.
    std::optional<double> oldest;
    std::optional<double> youngest;
    // The figure's own texts (periods, notes, legend, numbers) in English
    // rather than Russian; the texts given here are in the language chosen.
    bool english = false;
    QString measure;          // the value axis's label
    bool wholeNumbers = true; // counts: no ticks between whole numbers
    bool logarithmic = false;
    QString title;  // what was counted: the groups, the text filter
    QString totals; // "Учтено N из M родов"
    int selected = -1;
    int hovered = -1;
};

// The figure of a measure through time, laid out in a rectangle and painted
// with a QPainter onto any device: the window's plot, an SVG, PNG or PDF
// file. Time runs in millions of years, old on the left, as a step line over
// each interval's true width; below the plot a band of the periods and the
// stages where their names fit; the five great mass extinctions marked; the
// totals and the time scale's version at the foot. Sizes are in the
// painter's logical units, fonts in pixels, so that the painter's transform
// scales the whole figure alike on every device.
class DiversityFigure
{
public:
    DiversityFigure(const FigureContent &content, const QRectF &bounds);

    void paint(QPainter &painter) const;

    QRectF plotArea() const { return m_plot; }
    // The stage's column over the plot and the band; empty for no stage.
    QRectF stageColumn(int stage) const;
    // The stage under `point` in the plot or the band, or -1.
    int stageAt(const QPointF &point) const;
    double xOf(double ma) const;
    // The value's height in the plot; empty where it cannot be drawn (a
    // value of 0 or less on a logarithmic axis).
    std::optional<double> yOf(double value) const;

private:
    struct Tick {
        double value;
        QString label;
    };

    void scaleValues();
    void paintColumns(QPainter &painter) const;
    void paintValueAxis(QPainter &painter) const;
    void paintCurve(QPainter &painter, const QList<std::optional<double>> &values,
                    const QColor &color, bool filled) const;
    void paintErrorBars(QPainter &painter, const QList<std::optional<double>> &values,
                        const QList<std::optional<double>> &errors, const QColor &color) const;
    void paintBandAndPart(QPainter &painter) const;
    void paintNotCounted(QPainter &painter) const;
    double paintLegend(QPainter &painter) const;
    void paintBand(QPainter &painter) const;
    void paintTexts(QPainter &painter) const;

    const FigureContent &m_content;
    std::shared_ptr<const strata::Bins> m_bins; // the content's, or the stages
    QRectF m_bounds;
    QRectF m_plot;
    QRectF m_stageRow;
    TimeAxis m_axis;
    double m_low = 0; // the value axis's range
    double m_high = 1;
    bool m_hasValues = false;
    QList<Tick> m_ticks;
};

} // namespace fosdat::diversity
