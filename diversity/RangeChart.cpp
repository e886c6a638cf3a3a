#include "RangeChart.h"

#include "FigureStyle.h"
#include "TimeScale.h"

#include <QCollator>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// The chart's layout, in logical pixels.
constexpr double Margin = 8;
constexpr double TitleHeight = 22;
constexpr double FooterHeight = 18;
constexpr double BarHeight = 7;
constexpr double NameFont = 10;
constexpr double MinimumBarWidth = 2; // a short range stays visible
constexpr double ArrowLength = 6;
constexpr double FixedHeight = TitleHeight + TimeAxis::MarkerRowHeight + TimeAxis::BandHeight +
                               TimeAxis::TickRowHeight + FooterHeight;

const QColor UncertainFill(0x1f, 0x4e, 0x99, 60);
const QColor HoveredRow(0x00, 0x00, 0x00, 22);

} // namespace

void sortBars(QList<RangeBar> &bars, RangeOrder order)
{
    QCollator collator(QLocale(QLocale::Russian));
    const auto earlier = [&](const RangeBar &a, const RangeBar &b) {
        // Genera without a family after those with one.
        if (order == RangeOrder::Family && a.family.isEmpty() != b.family.isEmpty())
            return b.family.isEmpty();
        if (order == RangeOrder::Family && a.family != b.family)
            return collator.compare(a.family, b.family) < 0;
        if (a.base != b.base)
            return a.base > b.base;
        if (a.top != b.top)
            return a.top > b.top;
        return collator.compare(a.name, b.name) < 0;
    };
    std::stable_sort(bars.begin(), bars.end(), earlier);
}

double RangeChart::heightFor(int rows)
{
    return FixedHeight + std::max(rows, 1) * RowHeight;
}

int RangeChart::rowsFitting(double height)
{
    // A height made for a number of rows holds them though it went through
    // millimetres and back.
    constexpr double Rounding = 1e-6;
    return std::max(1, int((height - FixedHeight) / RowHeight + Rounding));
}

RangeChart::RangeChart(const RangeChartContent &content, const QRectF &bounds, int firstRow)
    : m_content(content), m_bounds(bounds)
{
    const qsizetype bars = content.bars.size();
    m_firstRow = int(std::clamp<qsizetype>(firstRow, 0, std::max<qsizetype>(bars - 1, 0)));
    m_rows = int(std::min<qsizetype>(rowsFitting(bounds.height()), bars - m_firstRow));
    // The names' column as wide as the longest shown, up to a third.
    const QFontMetricsF metrics(figureFont(NameFont));
    double names = 0;
    for (int row = m_firstRow; row < m_firstRow + m_rows; ++row)
        names = std::max(names, metrics.horizontalAdvance(content.bars[row].name));
    names = std::min(names + 2 * Margin, bounds.width() / 3);
    const double top = bounds.top() + TitleHeight + TimeAxis::MarkerRowHeight;
    m_plot = QRectF(bounds.left() + Margin + names, top,
                    std::max(bounds.width() - names - 3 * Margin, 10.0),
                    std::max(m_rows, 1) * RowHeight);
    if (!content.scale)
        return;
    std::optional<double> oldest = content.oldest;
    if (!oldest && !content.bars.isEmpty()) {
        oldest =
            std::max_element(content.bars.cbegin(), content.bars.cend(),
                             [](const RangeBar &a, const RangeBar &b) { return a.base < b.base; })
                ->base;
    }
    m_axis = TimeAxis(*content.scale, oldest, content.youngest, m_plot.left(), m_plot.right());
}

int RangeChart::barAt(const QPointF &point) const
{
    if (point.y() < m_plot.top() || point.y() >= m_plot.bottom() || point.x() < m_bounds.left() ||
        point.x() > m_plot.right())
        return -1;
    const int row = m_firstRow + int((point.y() - m_plot.top()) / RowHeight);
    return row < m_firstRow + m_rows ? row : -1;
}

void RangeChart::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(m_bounds, Qt::white);
    if (m_content.scale) {
        painter.save();
        painter.setClipRect(
            QRectF(m_plot.left(), m_bounds.top(), m_plot.width(), m_bounds.height()));
        m_axis.paintExtinctions(painter, m_plot.top(), m_plot.bottom());
        painter.restore();
        paintRows(painter);
        painter.save();
        painter.setClipRect(
            QRectF(m_plot.left(), m_bounds.top(), m_plot.width(), m_bounds.height()));
        m_axis.paintBand(painter, m_plot.bottom(), m_content.english);
        painter.restore();
        m_axis.paintTicks(painter, m_plot.bottom() + TimeAxis::BandHeight, m_content.english);
    }
    paintTexts(painter);
    painter.restore();
}

// Each row: its name at the left, its bar from base to top (at least a
// couple of pixels wide), dashed where uncertain, with an arrow where living.
void RangeChart::paintRows(QPainter &painter) const
{
    const QFont font = figureFont(NameFont);
    painter.setFont(font);
    const double nameRight = m_plot.left() - Margin;
    for (int i = 0; i < m_rows; ++i) {
        const int row = m_firstRow + i;
        const RangeBar &bar = m_content.bars[row];
        const double y = m_plot.top() + i * RowHeight;
        if (row == m_content.hovered)
            painter.fillRect(QRectF(m_bounds.left(), y, m_bounds.width(), RowHeight), HoveredRow);
        if (m_content.byFamily && row > 0 && m_content.bars[row - 1].family != bar.family) {
            painter.setPen(QPen(GridColor, 1));
            painter.drawLine(QPointF(m_bounds.left() + Margin, y), QPointF(m_plot.right(), y));
        }
        painter.setPen(TextColor);
        painter.drawText(
            QRectF(m_bounds.left() + Margin, y, nameRight - m_bounds.left() - Margin, RowHeight),
            Qt::AlignRight | Qt::AlignVCenter,
            QFontMetricsF(font).elidedText(bar.name, Qt::ElideRight,
                                           nameRight - m_bounds.left() - Margin));
        double left = std::max(m_axis.xOf(bar.base), m_plot.left());
        double right = std::min(m_axis.xOf(bar.top), m_plot.right());
        if (right < m_plot.left() || left > m_plot.right())
            continue; // outside the time shown
        if (right - left < MinimumBarWidth) {
            const double middle = (left + right) / 2;
            left = middle - MinimumBarWidth / 2;
            right = middle + MinimumBarWidth / 2;
        }
        const QRectF box(left, y + (RowHeight - BarHeight) / 2, right - left, BarHeight);
        if (bar.uncertain) {
            painter.setPen(QPen(CurveColor, 1, Qt::DashLine));
            painter.setBrush(UncertainFill);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(CurveColor);
        }
        painter.drawRect(box);
        if (bar.extant) {
            const double tip = std::min(right + ArrowLength, m_bounds.right() - 1);
            QPainterPath arrow;
            arrow.moveTo(tip, box.center().y());
            arrow.lineTo(tip - ArrowLength, box.top() - 1.5);
            arrow.lineTo(tip - ArrowLength, box.bottom() + 1.5);
            arrow.closeSubpath();
            painter.fillPath(arrow, CurveColor);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void RangeChart::paintTexts(QPainter &painter) const
{
    paintTitle(painter,
               QRectF(m_bounds.left() + Margin, m_bounds.top(), m_bounds.width() - 2 * Margin,
                      TitleHeight),
               m_content.title);
    paintFoot(painter,
              QRectF(m_bounds.left() + Margin,
                     m_plot.bottom() + TimeAxis::BandHeight + TimeAxis::TickRowHeight,
                     m_bounds.width() - 2 * Margin, FooterHeight),
              m_content.totals, m_content.scale.get(), m_content.english,
              m_content.english ? u"Time, Ma · dashed: with “?” · arrow: living"_s
                                : u"Время, млн лет · пунктир: с «?» · стрелка: живущие"_s);
    if (m_content.bars.isEmpty())
        paintEmpty(painter, m_plot, m_content.english ? u"No genus"_s : u"Нет родов для показа"_s);
}

} // namespace fosdat::diversity
