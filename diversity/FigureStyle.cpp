#include "FigureStyle.h"

#include "TimeScale.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

QFont figureFont(double pixels, bool bold)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(int(pixels));
    font.setBold(bold);
    return font;
}

QString axisNumber(double value, bool english)
{
    return QLocale(english ? QLocale::English : QLocale::Russian).toString(value, 'g', 6);
}

void paintTitle(QPainter &painter, const QRectF &box, const QString &title)
{
    painter.setPen(TextColor);
    painter.setFont(figureFont(14, true));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(painter.font()).elidedText(title, Qt::ElideRight, box.width()));
}

void paintFoot(QPainter &painter, const QRectF &foot, QString totals,
               const strata::TimeScale *scale, bool english, const QString &note)
{
    painter.setPen(TextColor);
    painter.setFont(figureFont(11));
    if (scale) {
        totals += (totals.isEmpty() ? u""_s : u" · "_s) +
                  (english ? u"Time scale: "_s : u"Шкала времени: "_s) + scale->version();
    }
    // The totals at the right; the note in what room is left of them.
    const QFontMetricsF metrics(painter.font());
    totals = metrics.elidedText(totals, Qt::ElideRight, foot.width());
    const double room = foot.width() - metrics.horizontalAdvance(totals) - 12;
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, totals);
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(note, Qt::ElideRight, std::max(room, 0.0)));
}

void paintEmpty(QPainter &painter, const QRectF &box, const QString &text)
{
    painter.setFont(figureFont(13));
    painter.setPen(AxisColor);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace fosdat::diversity
