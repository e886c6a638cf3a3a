#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QRectF;

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::diversity
{

// What the figures share of their look: the colours of their lines and
// texts, their font, the numbers on their axes.
inline const QColor CurveColor(0x1f, 0x4e, 0x99);
inline const QColor GridColor(0xe2, 0xe2, 0xe2);
inline const QColor AxisColor(0x40, 0x40, 0x40);
inline const QColor TextColor(0x20, 0x20, 0x20);
inline const QColor ExtinctionColor(0xb0, 0x20, 0x20);

// The application's font at a size in pixels, so that a figure scales alike
// on every device.
QFont figureFont(double pixels, bool bold = false);
// A number as an axis shows it, in the figure's language.
QString axisNumber(double value, bool english);

// A figure's title at the left of `box`, cut short to fit it.
void paintTitle(QPainter &painter, const QRectF &box, const QString &title);
// A figure's foot: at the right its totals and the time scale's version, at
// the left `note` in what room is left of them.
void paintFoot(QPainter &painter, const QRectF &foot, QString totals,
               const strata::TimeScale *scale, bool english, const QString &note);
// What stands in an empty plot.
void paintEmpty(QPainter &painter, const QRectF &box, const QString &text);

} // namespace fosdat::diversity
