#include "DiversityFigure.h"

#include "Bins.h"
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
constexpr double MarkerRowHeight = 16; // the mass extinctions' labels
constexpr double PeriodRowHeight = 18;
constexpr double StageRowHeight = 14;
constexpr double TickRowHeight = 18;
constexpr double FooterHeight = 18;
constexpr double MinimumTickSpacing = 48; // between labels of the time axis
constexpr int ValueTicks = 5;             // about as many lines across the plot

const QColor CurveColor(0x1f, 0x4e, 0x99);
const QColor SecondColor(0xe0, 0x7b, 0x00);     // a second series: extinction beside origination
const QColor PartColor(0x1f, 0x4e, 0x99, 110);  // the part of a count below the rest
const QColor BandColor(0xb0, 0x80, 0x40, 70);   // the range of a value
const QColor NotCountedColor(0xb0, 0x20, 0x20); // hatched where entries are not counted
constexpr double NotCountedStrip = 8;           // its height along the axis
const QColor GridColor(0xe2, 0xe2, 0xe2);
const QColor AxisColor(0x40, 0x40, 0x40);
const QColor TextColor(0x20, 0x20, 0x20);
const QColor ExtinctionColor(0xb0, 0x20, 0x20);
const QColor SelectedColor(0x33, 0x88, 0xee, 60);
const QColor HoveredColor(0x00, 0x00, 0x00, 22);

QFont fontOf(double pixels, bool bold = false)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(int(pixels));
    font.setBold(bold);
    return font;
}

// The colours the chronostratigraphic chart gives the periods.
QColor periodColor(const QString &period)
{
    static const QHash<QString, QColor> colors{
        {u"V"_s, QColor(254, 217, 106)}, {u"Cm"_s, QColor(127, 160, 86)},
        {u"O"_s, QColor(0, 146, 112)},   {u"S"_s, QColor(179, 225, 182)},
        {u"D"_s, QColor(203, 140, 55)},  {u"C"_s, QColor(103, 165, 153)},
        {u"P"_s, QColor(240, 64, 40)},   {u"Tr"_s, QColor(129, 43, 146)},
        {u"J"_s, QColor(52, 178, 201)},  {u"K"_s, QColor(127, 198, 78)},
        {u"Pg"_s, QColor(253, 154, 82)}, {u"N"_s, QColor(255, 230, 25)},
        {u"Q"_s, QColor(249, 249, 127)},
    };
    return colors.value(period, QColor(0xcc, 0xcc, 0xcc));
}

// Black text on light colours, white on dark ones.
QColor textOn(const QColor &fill)
{
    return fill.lightnessF() < 0.45 ? Qt::white : Qt::black;
}

QString periodName(const strata::TimeScale &scale, const QString &code, bool english)
{
    // The chart's names of the periods of its stages; the scale names them
    // in Russian.
    static const QHash<QString, QString> inEnglish{
        {u"V"_s, u"Ediacaran"_s},  {u"Cm"_s, u"Cambrian"_s},  {u"O"_s, u"Ordovician"_s},
        {u"S"_s, u"Silurian"_s},   {u"D"_s, u"Devonian"_s},   {u"C"_s, u"Carboniferous"_s},
        {u"P"_s, u"Permian"_s},    {u"Tr"_s, u"Triassic"_s},  {u"J"_s, u"Jurassic"_s},
        {u"K"_s, u"Cretaceous"_s}, {u"Pg"_s, u"Paleogene"_s}, {u"N"_s, u"Neogene"_s},
        {u"Q"_s, u"Quaternary"_s},
    };
    if (english)
        return inEnglish.value(code, code);
    for (const strata::Period &period : scale.periods()) {
        if (period.code == code && !period.name.isEmpty())
            return period.name.left(1).toUpper() + period.name.mid(1);
    }
    return code;
}

// The top of the last stage of `period`, or of the stage `code`.
std::optional<double> topOfPeriod(const strata::TimeScale &scale, QStringView period)
{
    std::optional<double> top;
    for (const strata::Stage &stage : scale.stages()) {
        if (stage.period == period)
            top = stage.top;
    }
    return top;
}

std::optional<double> topOfStage(const strata::TimeScale &scale, QStringView code)
{
    const int stage = scale.stageIndex(code);
    return stage < 0 ? std::nullopt : std::optional(scale.stages().at(stage).top);
}

struct Extinction {
    QString label;
    double ma;
};

// The five great mass extinctions, at the boundaries of the scale at hand
// (a user's scale may move them): the end of the Ordovician, the
// Frasnian–Famennian boundary, the ends of the Permian, Triassic and Cretaceous.
QList<Extinction> massExtinctions(const strata::TimeScale &scale)
{
    const std::pair<QString, std::optional<double>> boundaries[] = {
        {u"O/S"_s, topOfPeriod(scale, u"O")},  {u"F/F"_s, topOfStage(scale, u"Fras")},
        {u"P/Tr"_s, topOfPeriod(scale, u"P")}, {u"Tr/J"_s, topOfPeriod(scale, u"Tr")},
        {u"K/Pg"_s, topOfPeriod(scale, u"K")},
    };
    QList<Extinction> found;
    for (const auto &[label, ma] : boundaries) {
        if (ma)
            found.append({label, *ma});
    }
    return found;
}

QString number(double value, bool english)
{
    return QLocale(english ? QLocale::English : QLocale::Russian).toString(value, 'g', 6);
}

// Draws `text` in `box` when it fits there; gives whether it did.
bool drawIfFits(QPainter &painter, const QRectF &box, const QString &text)
{
    if (QFontMetricsF(painter.font()).horizontalAdvance(text) + 4 > box.width())
        return false;
    painter.drawText(box, Qt::AlignCenter, text);
    return true;
}

} // namespace

DiversityFigure::DiversityFigure(const FigureContent &content, const QRectF &bounds)
    : m_content(content), m_bounds(bounds)
{
    const double top = bounds.top() + TitleHeight + MarkerRowHeight;
    const double bottom =
        bounds.bottom() - FooterHeight - TickRowHeight - StageRowHeight - PeriodRowHeight;
    m_plot = QRectF(QPointF(bounds.left() + LeftMargin, top),
                    QPointF(bounds.right() - RightMargin, std::max(bottom, top + 10)));
    m_periodRow = QRectF(m_plot.left(), m_plot.bottom(), m_plot.width(), PeriodRowHeight);
    m_stageRow = QRectF(m_plot.left(), m_periodRow.bottom(), m_plot.width(), StageRowHeight);
    if (content.scale && !content.scale->stages().isEmpty()) {
        m_oldest = content.scale->stages().constFirst().base;
        m_youngest = content.scale->stages().constLast().top;
        const double oldest = std::min(content.oldest.value_or(m_oldest), m_oldest);
        const double youngest = std::max(content.youngest.value_or(m_youngest), m_youngest);
        if (oldest > youngest) {
            m_oldest = oldest;
            m_youngest = youngest;
        }
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
    m_ticks.clear();
    if (m_content.logarithmic) {
        const double low = m_hasValues ? std::floor(std::log10(smallest)) : 0;
        const double high = std::max(m_hasValues ? std::ceil(std::log10(largest)) : 1, low + 1);
        m_low = std::pow(10.0, low);
        m_high = std::pow(10.0, high);
        for (double power = low; power <= high; ++power)
            m_ticks.append({std::pow(10.0, power), number(std::pow(10.0, power), english)});
        return;
    }
    m_low = 0;
    double step = strata::niceStep(std::max(largest, 1e-9) / ValueTicks);
    if (m_content.wholeNumbers)
        step = std::max(step, 1.0);
    const int steps = std::max(1, int(std::ceil(largest / step - 1e-9)));
    m_high = steps * step;
    for (int i = 0; i <= steps; ++i)
        m_ticks.append({i * step, number(i * step, english)});
}

double DiversityFigure::xOf(double ma) const
{
    const double span = m_oldest - m_youngest;
    return m_plot.left() + (span > 0 ? (m_oldest - ma) / span : 0) * m_plot.width();
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
        paintExtinctions(painter);
        paintBandAndPart(painter);
        const bool two = m_content.second.has_value();
        paintCurve(painter, m_content.values, CurveColor, !two);
        paintErrorBars(painter, m_content.values, m_content.errors, CurveColor);
        if (two) {
            paintCurve(painter, m_content.second->values, SecondColor, false);
            paintErrorBars(painter, m_content.second->values, m_content.second->errors,
                           SecondColor);
        }
        paintBand(painter);
        paintNotCounted(painter);
        painter.restore();
        paintTimeAxis(painter);
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
    painter.setFont(fontOf(11));
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
    painter.setFont(fontOf(12));
    painter.setPen(TextColor);
    const QString name =
        m_content.logarithmic
            ? m_content.measure +
                  (m_content.english ? u" (log scale)"_s : u" (логарифмическая шкала)"_s)
            : m_content.measure;
    painter.drawText(QRectF(-m_plot.height() / 2, -8, m_plot.height(), 16), Qt::AlignCenter, name);
    painter.restore();
}

void DiversityFigure::paintExtinctions(QPainter &painter) const
{
    painter.setFont(fontOf(10, true));
    for (const Extinction &extinction : massExtinctions(*m_content.scale)) {
        const double x = xOf(extinction.ma);
        QPen pen(ExtinctionColor, 1.2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(x, m_plot.top()), QPointF(x, m_plot.bottom()));
        painter.setPen(ExtinctionColor);
        painter.drawText(QRectF(x - 30, m_plot.top() - MarkerRowHeight, 60, MarkerRowHeight),
                         Qt::AlignCenter, extinction.label);
    }
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
    endRun(xOf(m_youngest));
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
    if (m_content.second)
        entries << Entry{m_content.valuesName, CurveColor, false}
                << Entry{m_content.second->name, SecondColor, false};
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
    painter.setFont(fontOf(11));
    const QFontMetricsF metrics(painter.font());
    double x = m_plot.right();
    const double y = m_bounds.top() + TitleHeight / 2;
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        const double width = metrics.horizontalAdvance(it->name);
        x -= width;
        painter.setPen(TextColor);
        painter.drawText(QRectF(x, m_bounds.top(), width + 2, TitleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, it->name);
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
    const QList<strata::Stage> &stages = m_content.scale->stages();
    painter.setPen(QPen(Qt::white, 0.5));
    painter.setFont(fontOf(9));
    for (int i = 0; i < stages.size(); ++i) {
        const QRectF cell = QRectF(QPointF(xOf(stages[i].base), m_stageRow.top()),
                                   QPointF(xOf(stages[i].top), m_stageRow.bottom()))
                                .intersected(m_stageRow);
        if (cell.isEmpty())
            continue;
        const QColor fill = periodColor(stages[i].period).lighter(i % 2 ? 125 : 112);
        painter.fillRect(cell, fill);
        painter.setPen(textOn(fill));
        // Every stage named by one rule: its code, or where that does not
        // fit its first two letters, or nothing where those do not either.
        if (!drawIfFits(painter, cell, stages[i].code))
            drawIfFits(painter, cell, stages[i].code.left(2));
    }
    painter.setFont(fontOf(11, true));
    for (int first = 0; first < stages.size();) {
        int last = first;
        while (last + 1 < stages.size() && stages[last + 1].period == stages[first].period)
            ++last;
        const QRectF cell = QRectF(QPointF(xOf(stages[first].base), m_periodRow.top()),
                                   QPointF(xOf(stages[last].top), m_periodRow.bottom()))
                                .intersected(m_periodRow);
        const QColor fill = periodColor(stages[first].period);
        const QString &period = stages[first].period;
        first = last + 1;
        if (cell.isEmpty())
            continue;
        painter.fillRect(cell, fill);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.setPen(textOn(fill));
        if (!drawIfFits(painter, cell, periodName(*m_content.scale, period, m_content.english)))
            drawIfFits(painter, cell, period);
    }
    if (m_content.selected >= 0 && m_content.selected < m_bins->bins().size()) {
        const strata::Bin &bin = m_bins->bins().at(m_content.selected);
        painter.setPen(QPen(CurveColor, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(xOf(bin.base), m_stageRow.top()),
                                QPointF(xOf(bin.top), m_stageRow.bottom())));
    }
}

// Ticks every 10, 20, 50... million years, as many as leave their labels room.
void DiversityFigure::paintTimeAxis(QPainter &painter) const
{
    const double span = m_oldest - m_youngest;
    if (span <= 0)
        return;
    const double step = strata::niceStep(MinimumTickSpacing * span / std::max(m_plot.width(), 1.0));
    painter.setFont(fontOf(11));
    const double tickTop = m_stageRow.bottom();
    for (double ma = std::ceil(m_youngest / step) * step; ma <= m_oldest + 1e-9; ma += step) {
        const double x = xOf(ma);
        painter.setPen(QPen(AxisColor, 1));
        painter.drawLine(QPointF(x, tickTop), QPointF(x, tickTop + 4));
        painter.setPen(TextColor);
        painter.drawText(QRectF(x - 30, tickTop + 3, 60, TickRowHeight - 3), Qt::AlignCenter,
                         number(ma, m_content.english));
    }
}

void DiversityFigure::paintTexts(QPainter &painter) const
{
    const double legend = m_bins ? paintLegend(painter) : 0;
    painter.setPen(TextColor);
    painter.setFont(fontOf(14, true));
    const QRectF titleBox(m_plot.left(), m_bounds.top(), m_plot.width() - legend, TitleHeight);
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(painter.font())
                         .elidedText(m_content.title, Qt::ElideRight, titleBox.width()));

    painter.setFont(fontOf(11));
    const QRectF footer(m_plot.left(), m_bounds.bottom() - FooterHeight, m_plot.width(),
                        FooterHeight);
    QString totals = m_content.totals;
    if (m_content.scale) {
        totals += (totals.isEmpty() ? u""_s : u" · "_s) +
                  (m_content.english ? u"Time scale: "_s : u"Шкала времени: "_s) +
                  m_content.scale->version();
    }
    // The totals at the right; the axis's note in what room is left of it.
    const QFontMetricsF metrics(painter.font());
    totals = metrics.elidedText(totals, Qt::ElideRight, footer.width());
    const double room = footer.width() - metrics.horizontalAdvance(totals) - 12;
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, totals);
    painter.drawText(
        footer, Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(m_content.english
                               ? u"Time, Ma · dashed: the five great mass extinctions"_s
                               : u"Время, млн лет назад · пунктир: великие массовые вымирания"_s,
                           Qt::ElideRight, std::max(room, 0.0)));

    if (!m_hasValues) {
        painter.setFont(fontOf(13));
        painter.setPen(AxisColor);
        painter.drawText(m_plot, Qt::AlignCenter,
                         m_content.scale ? u"Нет значений для показа"_s : u"Чтение каталогов…"_s);
    }
}

} // namespace fosdat::diversity
