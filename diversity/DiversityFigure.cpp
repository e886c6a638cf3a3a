#include "DiversityFigure.h"

#include "Bins.h"
#include "FigureStyle.h"
#include "Survivorship.h"
#include "TimeScale.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// The figure's layout, in logical pixels.
constexpr double LeftMargin = 72; // the value axis's labels and its name
constexpr double RightMargin = 16;
constexpr double TitleHeight = 22;
constexpr double FooterHeight = 18;
constexpr int ValueTicks = 5; // about as many lines across the plot

const QColor SecondColor(0xe0, 0x7b, 0x00);     // a second series: extinction beside origination
const QColor PartColor(0x1f, 0x4e, 0x99, 110);  // the part of a count below the rest
const QColor BandColor(0xb0, 0x80, 0x40, 70);   // the range of a value
const QColor NotCountedColor(0xb0, 0x20, 0x20); // hatched where entries are not counted
constexpr double NotCountedStrip = 8;           // its height along the axis
const QColor SelectedColor(0x33, 0x88, 0xee, 60);
// The other selections' lines, told apart from the first's blue and the
// extinction rate's orange.
const QColor SeriesColors[MaxSeries - 1] = {{0xc0, 0x1c, 0x28},
                                            {0x2a, 0x9d, 0x3c},
                                            {0x8e, 0x5c, 0xc0},
                                            {0x8c, 0x56, 0x4b},
                                            {0xd9, 0x5f, 0xb4}};
const QColor HoveredColor(0x00, 0x00, 0x00, 22);

} // namespace

DiversityFigure::DiversityFigure(const FigureContent &content, const QRectF &bounds)
    : m_content(content), m_bounds(bounds)
{
    const double top = bounds.top() + TitleHeight + TimeAxis::MarkerRowHeight;
    const double bottom =
        bounds.bottom() - FooterHeight - TimeAxis::TickRowHeight - TimeAxis::BandHeight;
    m_plot = QRectF(QPointF(bounds.left() + LeftMargin, top),
                    QPointF(bounds.right() - RightMargin, std::max(bottom, top + 10)));
    m_stageRow = QRectF(m_plot.left(), m_plot.bottom() + TimeAxis::PeriodRowHeight, m_plot.width(),
                        TimeAxis::StageRowHeight);
    if (content.scale && !content.scale->stages().isEmpty()) {
        m_axis = TimeAxis(*content.scale, content.oldest, content.youngest, m_plot.left(),
                          m_plot.right());
        m_bins = content.bins ? content.bins
                              : std::make_shared<const strata::Bins>(*content.scale,
                                                                     strata::BinKind::Stages);
    }
    scaleValues();
}

// The value axis's range and ticks: from 0 on a linear axis, from the decade
// below the smallest positive value on a logarithmic one.
void DiversityFigure::scaleValues()
{
    const bool english = m_content.english;
    double smallest = 0;
    double largest = 0;
    const auto take = [&](const QList<std::optional<double>> &values,
                          const QList<std::optional<double>> &errors) {
        for (qsizetype i = 0; i < values.size(); ++i) {
            const std::optional<double> value = values[i];
            if (!value || (m_content.logarithmic && *value <= 0))
                continue;
            const double error = errors.value(i).value_or(0);
            smallest = m_hasValues ? std::min(smallest, *value) : *value;
            largest = std::max(m_hasValues ? largest : *value, *value + error);
            m_hasValues = true;
        }
    };
    take(m_content.values, m_content.errors);
    take(m_content.bandHigh, {});
    if (m_content.second)
        take(m_content.second->values, m_content.second->errors);
    for (const FigureSeries &series : m_content.series)
        take(series.values, series.errors);
    m_ticks.clear();
    if (m_content.logarithmic) {
        const double low = m_hasValues ? std::floor(std::log10(smallest)) : 0;
        const double high = std::max(m_hasValues ? std::ceil(std::log10(largest)) : 1, low + 1);
        m_low = std::pow(10.0, low);
        m_high = std::pow(10.0, high);
        for (double power = low; power <= high; ++power)
            m_ticks.append({std::pow(10.0, power), axisNumber(std::pow(10.0, power), english)});
        return;
    }
    m_low = 0;
    double step = strata::niceStep(std::max(largest, 1e-9) / ValueTicks);
    if (m_content.wholeNumbers)
        step = std::max(step, 1.0);
    const int steps = std::max(1, int(std::ceil(largest / step - 1e-9)));
    m_high = steps * step;
    for (int i = 0; i <= steps; ++i)
        m_ticks.append({i * step, axisNumber(i * step, english)});
}

double DiversityFigure::xOf(double ma) const
{
    return m_axis.xOf(ma);
}

std::optional<double> DiversityFigure::yOf(double value) const
{
    double share = 0;
    if (m_content.logarithmic) {
        if (value <= 0)
            return std::nullopt;
        share = (std::log10(value) - std::log10(m_low)) / (std::log10(m_high) - std::log10(m_low));
    } else {
        share = m_high > m_low ? (value - m_low) / (m_high - m_low) : 0;
    }
    return m_plot.bottom() - share * m_plot.height();
}

QRectF DiversityFigure::stageColumn(int stage) const
{
    if (!m_bins || stage < 0 || stage >= m_bins->bins().size())
        return {};
    const strata::Bin &b = m_bins->bins().at(stage);
    return QRectF(QPointF(xOf(b.base), m_plot.top()), QPointF(xOf(b.top), m_stageRow.bottom()));
}

int DiversityFigure::stageAt(const QPointF &point) const
{
    if (!m_bins || point.x() < m_plot.left() || point.x() > m_plot.right() ||
        point.y() < m_plot.top() || point.y() > m_stageRow.bottom())
        return -1;
    const QList<strata::Bin> &bins = m_bins->bins();
    for (int i = 0; i < bins.size(); ++i) {
        if (point.x() <= xOf(bins[i].top))
            return i;
    }
    return int(bins.size()) - 1;
}

void DiversityFigure::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(m_bounds, Qt::white);
    paintColumns(painter);
    paintValueAxis(painter);
    if (m_bins) {
        // Only the time shown: the plot's and the band's width.
        painter.save();
        painter.setClipRect(
            QRectF(m_plot.left(), m_bounds.top(), m_plot.width(), m_bounds.height()));
        m_axis.paintExtinctions(painter, m_plot.top(), m_plot.bottom());
        paintBandAndPart(painter);
        const bool two = m_content.second.has_value();
        paintCurve(painter, m_content.values, CurveColor, !two && m_content.series.isEmpty());
        paintErrorBars(painter, m_content.values, m_content.errors, CurveColor);
        if (two) {
            paintCurve(painter, m_content.second->values, SecondColor, false);
            paintErrorBars(painter, m_content.second->values, m_content.second->errors,
                           SecondColor);
        }
        for (qsizetype i = 0; i < m_content.series.size() && i < MaxSeries - 1; ++i) {
            const FigureSeries &series = m_content.series[i];
            paintCurve(painter, series.values, SeriesColors[i], false);
            paintErrorBars(painter, series.values, series.errors, SeriesColors[i]);
        }
        paintBand(painter);
        paintNotCounted(painter);
        painter.restore();
        m_axis.paintTicks(painter, m_stageRow.bottom(), m_content.english);
    }
    paintTexts(painter);
    painter.restore();
}

// The hovered and the selected stage, at least a few pixels wide.
void DiversityFigure::paintColumns(QPainter &painter) const
{
    for (const auto &[stage, color] : {std::pair{m_content.hovered, HoveredColor},
                                       std::pair{m_content.selected, SelectedColor}}) {
        QRectF column = stageColumn(stage);
        if (column.isNull())
            continue;
        if (column.width() < 3)
            column.adjust(-(3 - column.width()) / 2, 0, (3 - column.width()) / 2, 0);
        painter.fillRect(column, color);
    }
}

void DiversityFigure::paintValueAxis(QPainter &painter) const
{
    painter.setFont(figureFont(11));
    for (const Tick &tick : m_ticks) {
        const double y = yOf(tick.value).value_or(m_plot.bottom());
        painter.setPen(QPen(GridColor, 1));
        painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
        painter.setPen(TextColor);
        painter.drawText(QRectF(m_bounds.left(), y - 8, LeftMargin - 6, 16),
                         Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    // Below the curve, which may run along it.
    painter.setPen(QPen(AxisColor, 1));
    painter.drawLine(m_plot.topLeft(), m_plot.bottomLeft());
    painter.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
    // The axis's name, written upwards along it.
    painter.save();
    painter.translate(m_bounds.left() + 12, m_plot.center().y());
    painter.rotate(-90);
    painter.setFont(figureFont(12));
    painter.setPen(TextColor);
    const QString name =
        m_content.logarithmic
            ? m_content.measure +
                  (m_content.english ? u" (log scale)"_s : u" (логарифмическая шкала)"_s)
            : m_content.measure;
    painter.drawText(QRectF(-m_plot.height() / 2, -8, m_plot.height(), 16), Qt::AlignCenter, name);
    painter.restore();
}

// A step line over each run of stages with values, and a light fill below it.
void DiversityFigure::paintCurve(QPainter &painter, const QList<std::optional<double>> &values,
                                 const QColor &color, bool filled) const
{
    const QList<strata::Bin> &bins = m_bins->bins();
    const double baseline = m_plot.bottom();
    QPainterPath line;
    QPainterPath fill;
    QPointF runStart;
    bool inRun = false;
    const auto endRun = [&](double x) {
        if (!inRun)
            return;
        fill.lineTo(x, baseline);
        fill.lineTo(runStart);
        fill.closeSubpath();
        inRun = false;
    };
    for (int i = 0; i < bins.size(); ++i) {
        const std::optional<double> value = values.value(i);
        const double left = xOf(bins[i].base);
        const double right = xOf(bins[i].top);
        const std::optional<double> height = value ? yOf(*value) : std::nullopt;
        if (!height) {
            endRun(left);
            continue;
        }
        const double y = *height;
        if (!inRun) {
            runStart = QPointF(left, baseline);
            fill.moveTo(runStart);
            line.moveTo(left, y);
            inRun = true;
        } else {
            line.lineTo(left, y);
        }
        fill.lineTo(left, y);
        fill.lineTo(right, y);
        line.lineTo(right, y);
    }
    endRun(xOf(m_axis.youngest()));
    if (filled) {
        QColor light = color;
        light.setAlpha(40);
        painter.fillPath(fill, light);
    }
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(line);
}

// A vertical bar from one standard error below each value to one above, at
// the middle of its interval, with short caps; cut at the plot's bottom.
void DiversityFigure::paintErrorBars(QPainter &painter, const QList<std::optional<double>> &values,
                                     const QList<std::optional<double>> &errors,
                                     const QColor &color) const
{
    constexpr double Cap = 3;
    painter.setPen(QPen(color, 1.2));
    const QList<strata::Bin> &bins = m_bins->bins();
    for (int i = 0; i < bins.size(); ++i) {
        const std::optional<double> value = values.value(i);
        const std::optional<double> error = errors.value(i);
        if (!value || !error || *error <= 0)
            continue;
        const double x = (xOf(bins[i].base) + xOf(bins[i].top)) / 2;
        const double high = yOf(*value + *error).value_or(m_plot.bottom());
        const double low =
            std::min(yOf(*value - *error).value_or(m_plot.bottom()), m_plot.bottom());
        painter.drawLine(QPointF(x, low), QPointF(x, high));
        painter.drawLine(QPointF(x - Cap, high), QPointF(x + Cap, high));
        if (low < m_plot.bottom())
            painter.drawLine(QPointF(x - Cap, low), QPointF(x + Cap, low));
    }
}

// Over each interval: the band of its value's range, and its part from the
// axis up.
void DiversityFigure::paintBandAndPart(QPainter &painter) const
{
    const QList<strata::Bin> &bins = m_bins->bins();
    for (int i = 0; i < bins.size(); ++i) {
        const double left = xOf(bins[i].base);
        const double right = xOf(bins[i].top);
        const std::optional<double> low = m_content.bandLow.value(i);
        const std::optional<double> high = m_content.bandHigh.value(i);
        if (low && high) {
            const double bottom = std::min(yOf(*low).value_or(m_plot.bottom()), m_plot.bottom());
            const double top = yOf(*high).value_or(m_plot.bottom());
            painter.fillRect(QRectF(QPointF(left, top), QPointF(right, bottom)), BandColor);
        }
        const std::optional<double> part =
            m_content.part ? m_content.part->values.value(i) : std::nullopt;
        if (const std::optional<double> y = part ? yOf(*part) : std::nullopt)
            painter.fillRect(QRectF(QPointF(left, *y), QPointF(right, m_plot.bottom())), PartColor);
    }
}

// A hatched strip along the value axis's foot over each interval with
// entries not counted for an unknown stage code of its period.
void DiversityFigure::paintNotCounted(QPainter &painter) const
{
    const QList<strata::Bin> &bins = m_bins->bins();
    for (int i = 0; i < bins.size(); ++i) {
        if (m_content.notCounted.value(i) <= 0)
            continue;
        const QRectF strip(QPointF(xOf(bins[i].base), m_plot.bottom() - NotCountedStrip),
                           QPointF(xOf(bins[i].top), m_plot.bottom()));
        painter.fillRect(strip, Qt::white);
        painter.fillRect(strip, QBrush(NotCountedColor, Qt::BDiagPattern));
    }
}

// What the figure draws beside its measure, each name after a sample of its
// line or its fill, at the right of the title's row; gives the width taken.
double DiversityFigure::paintLegend(QPainter &painter) const
{
    struct Entry {
        QString name;
        QColor color;
        bool area;
        Qt::BrushStyle style = Qt::SolidPattern;
    };
    QList<Entry> entries;
    if (m_content.second || !m_content.series.isEmpty())
        entries << Entry{m_content.valuesName, CurveColor, false};
    if (m_content.second)
        entries << Entry{m_content.second->name, SecondColor, false};
    for (qsizetype i = 0; i < m_content.series.size() && i < MaxSeries - 1; ++i)
        entries << Entry{m_content.series[i].name, SeriesColors[i], false};
    if (m_content.part) {
        QColor rest = CurveColor;
        rest.setAlpha(40);
        entries << Entry{m_content.part->name, PartColor, true}
                << Entry{m_content.restName, rest, true};
    }
    if (!m_content.bandHigh.isEmpty())
        entries << Entry{m_content.english ? u"range"_s : u"пределы"_s, BandColor, true};
    if (std::any_of(m_content.notCounted.cbegin(), m_content.notCounted.cend(),
                    [](int n) { return n > 0; }))
        entries << Entry{m_content.english ? u"genera of unknown stages not counted"_s
                                           : u"не учтены роды с неизвестным ярусом"_s,
                         NotCountedColor, true, Qt::BDiagPattern};
    constexpr double Sample = 22;
    constexpr double Gap = 14;
    painter.setFont(figureFont(11));
    const QFontMetricsF metrics(painter.font());
    double x = m_plot.right();
    const double y = m_bounds.top() + TitleHeight / 2;
    // Each name cut short where many would not fit three quarters of the
    // plot's width; the title keeps what is left.
    const double longest = std::max(
        40.0, m_plot.width() * 0.75 / std::max<qsizetype>(entries.size(), 1) - Sample - Gap - 4);
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        const QString name = metrics.elidedText(it->name, Qt::ElideRight, longest);
        const double width = metrics.horizontalAdvance(name);
        x -= width;
        painter.setPen(TextColor);
        painter.drawText(QRectF(x, m_bounds.top(), width + 2, TitleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        x -= Sample + 4;
        if (it->area) {
            painter.fillRect(QRectF(x, y - 5, Sample, 10), QBrush(it->color, it->style));
        } else {
            painter.setPen(QPen(it->color, 2));
            painter.drawLine(QPointF(x, y), QPointF(x + Sample, y));
        }
        x -= Gap;
    }
    return m_plot.right() - x;
}

// The periods, and below them the stages, each named where its name fits.
void DiversityFigure::paintBand(QPainter &painter) const
{
    m_axis.paintBand(painter, m_plot.bottom(), m_content.english);
    if (m_content.selected >= 0 && m_content.selected < m_bins->bins().size()) {
        const strata::Bin &bin = m_bins->bins().at(m_content.selected);
        painter.setPen(QPen(CurveColor, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(xOf(bin.base), m_stageRow.top()),
                                QPointF(xOf(bin.top), m_stageRow.bottom())));
    }
}

void DiversityFigure::paintTexts(QPainter &painter) const
{
    const double legend = m_bins ? paintLegend(painter) : 0;
    paintTitle(painter, QRectF(m_plot.left(), m_bounds.top(), m_plot.width() - legend, TitleHeight),
               m_content.title);
    paintFoot(painter,
              QRectF(m_plot.left(), m_bounds.bottom() - FooterHeight, m_plot.width(), FooterHeight),
              m_content.totals, m_content.scale.get(), m_content.english,
              m_content.english ? u"Time, Ma · dashed: the five great mass extinctions"_s
                                : u"Время, млн лет назад · пунктир: великие массовые вымирания"_s);
    if (!m_hasValues)
        paintEmpty(painter, m_plot,
                   m_content.scale ? u"Нет значений для показа"_s : u"Чтение каталогов…"_s);
}

} // namespace fosdat::diversity
