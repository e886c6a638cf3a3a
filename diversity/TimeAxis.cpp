#include "TimeAxis.h"

#include "FigureStyle.h"
#include "Survivorship.h"
#include "TimeScale.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <cmath>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

constexpr double MinimumTickSpacing = 48; // between labels of the time axis

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

// Draws `text` in `box` when it fits there; gives whether it did.
bool drawIfFits(QPainter &painter, const QRectF &box, const QString &text)
{
    if (QFontMetricsF(painter.font()).horizontalAdvance(text) + 4 > box.width())
        return false;
    painter.drawText(box, Qt::AlignCenter, text);
    return true;
}

} // namespace

TimeAxis::TimeAxis(const strata::TimeScale &scale, std::optional<double> oldest,
                   std::optional<double> youngest, double left, double right)
    : m_scale(&scale), m_left(left), m_right(right)
{
    if (scale.stages().isEmpty())
        return;
    m_oldest = scale.stages().constFirst().base;
    m_youngest = scale.stages().constLast().top;
    const double from = std::min(oldest.value_or(m_oldest), m_oldest);
    const double to = std::max(youngest.value_or(m_youngest), m_youngest);
    if (from > to) {
        m_oldest = from;
        m_youngest = to;
    }
}

double TimeAxis::xOf(double ma) const
{
    const double span = m_oldest - m_youngest;
    return m_left + (span > 0 ? (m_oldest - ma) / span : 0) * (m_right - m_left);
}

void TimeAxis::paintBand(QPainter &painter, double top, bool english) const
{
    if (!m_scale)
        return;
    const QRectF periodRow(m_left, top, m_right - m_left, PeriodRowHeight);
    const QRectF stageRow(m_left, periodRow.bottom(), m_right - m_left, StageRowHeight);
    const QList<strata::Stage> &stages = m_scale->stages();
    painter.setPen(QPen(Qt::white, 0.5));
    painter.setFont(figureFont(9));
    for (int i = 0; i < stages.size(); ++i) {
        const QRectF cell = QRectF(QPointF(xOf(stages[i].base), stageRow.top()),
                                   QPointF(xOf(stages[i].top), stageRow.bottom()))
                                .intersected(stageRow);
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
    painter.setFont(figureFont(11, true));
    for (int first = 0; first < stages.size();) {
        int last = first;
        while (last + 1 < stages.size() && stages[last + 1].period == stages[first].period)
            ++last;
        const QRectF cell = QRectF(QPointF(xOf(stages[first].base), periodRow.top()),
                                   QPointF(xOf(stages[last].top), periodRow.bottom()))
                                .intersected(periodRow);
        const QColor fill = periodColor(stages[first].period);
        const QString &period = stages[first].period;
        first = last + 1;
        if (cell.isEmpty())
            continue;
        painter.fillRect(cell, fill);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.setPen(textOn(fill));
        if (!drawIfFits(painter, cell, periodName(*m_scale, period, english)))
            drawIfFits(painter, cell, period);
    }
}

void TimeAxis::paintTicks(QPainter &painter, double top, bool english) const
{
    const double span = m_oldest - m_youngest;
    if (!m_scale || span <= 0)
        return;
    const double step =
        strata::niceStep(MinimumTickSpacing * span / std::max(m_right - m_left, 1.0));
    painter.setFont(figureFont(11));
    for (double ma = std::ceil(m_youngest / step) * step; ma <= m_oldest + 1e-9; ma += step) {
        const double x = xOf(ma);
        painter.setPen(QPen(AxisColor, 1));
        painter.drawLine(QPointF(x, top), QPointF(x, top + 4));
        painter.setPen(TextColor);
        painter.drawText(QRectF(x - 30, top + 3, 60, TickRowHeight - 3), Qt::AlignCenter,
                         axisNumber(ma, english));
    }
}

void TimeAxis::paintExtinctions(QPainter &painter, double top, double bottom) const
{
    if (!m_scale)
        return;
    painter.setFont(figureFont(10, true));
    for (const Extinction &extinction : massExtinctions(*m_scale)) {
        const double x = xOf(extinction.ma);
        painter.setPen(QPen(ExtinctionColor, 1.2, Qt::DashLine));
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        painter.setPen(ExtinctionColor);
        painter.drawText(QRectF(x - 30, top - MarkerRowHeight, 60, MarkerRowHeight),
                         Qt::AlignCenter, extinction.label);
    }
}

} // namespace fosdat::diversity
