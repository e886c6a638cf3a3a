#pragma once

#include <QPointF>
#include <optional>

class QPainter;

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::diversity
{

// The time axis a figure draws its values or bars against: millions of years
// from left to right across a plot, old on the left; under the plot a band of
// the periods and of the stages where their names fit, and below it the ages
// ticked; the five great mass extinctions marked across the plot. Sizes are
// in logical pixels, as the figures lay themselves out.
class TimeAxis
{
public:
    static constexpr double MarkerRowHeight = 16; // the mass extinctions' labels
    static constexpr double PeriodRowHeight = 18;
    static constexpr double StageRowHeight = 14;
    static constexpr double BandHeight = PeriodRowHeight + StageRowHeight;
    static constexpr double TickRowHeight = 18;

    TimeAxis() = default;
    // The time from `oldest` to `youngest` (by default the whole scale's, and
    // never beyond it unless both are given in order) across `left` to `right`.
    TimeAxis(const strata::TimeScale &scale, std::optional<double> oldest,
             std::optional<double> youngest, double left, double right);

    double oldest() const { return m_oldest; }
    double youngest() const { return m_youngest; }
    double xOf(double ma) const;

    // The periods and stages in a band from `top`, BandHeight high; the
    // periods named in English or in the scale's Russian.
    void paintBand(QPainter &painter, double top, bool english) const;
    // The ages from `top`, TickRowHeight high.
    void paintTicks(QPainter &painter, double top, bool english) const;
    // A dashed line from `top` to `bottom` at each mass extinction, labelled
    // in the row above `top`.
    void paintExtinctions(QPainter &painter, double top, double bottom) const;

private:
    const strata::TimeScale *m_scale = nullptr;
    double m_left = 0;
    double m_right = 1;
    double m_oldest = 1;
    double m_youngest = 0;
};

} // namespace fosdat::diversity
