#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QXmlStreamReader>

// What an SVG export draws: its texts at their baselines, its rectangles
// and its other shapes (the arrows) with their vertical middles, and
// whether a rectangle's outline is dashed.
struct SvgText {
    QString text;
    double y;
};
struct SvgBox {
    QRectF box;
    bool dashed;
};
struct SvgShapes {
    QList<SvgText> texts;
    QList<SvgBox> boxes;
    QList<double> paths; // the middle of each path's points, vertically
};

inline SvgShapes readSvg(const QByteArray &svg)
{
    SvgShapes shapes;
    QXmlStreamReader xml(svg);
    QList<bool> dashed{false};
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"g")
            dashed.removeLast();
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (a.hasAttribute(QStringLiteral("transform")) &&
            a.value(QStringLiteral("transform")) != u"matrix(1,0,0,1,0,0)")
            qWarning("a transformed shape: %s",
                     qPrintable(a.value(QStringLiteral("transform")).toString()));
        if (xml.name() == u"g") {
            dashed.append(a.hasAttribute(QStringLiteral("stroke-dasharray")) ||
                          (dashed.last() && !a.hasAttribute(QStringLiteral("stroke"))));
        } else if (xml.name() == u"rect") {
            shapes.boxes.append({QRectF(a.value(QStringLiteral("x")).toDouble(),
                                        a.value(QStringLiteral("y")).toDouble(),
                                        a.value(QStringLiteral("width")).toDouble(),
                                        a.value(QStringLiteral("height")).toDouble()),
                                 dashed.last()});
        } else if (xml.name() == u"path") {
            double low = 1e9, high = -1e9;
            const QStringList numbers =
                a.value(QStringLiteral("d"))
                    .toString()
                    .split(QRegularExpression(QStringLiteral("[^0-9.\\-]+")), Qt::SkipEmptyParts);
            for (qsizetype i = 1; i < numbers.size(); i += 2) {
                low = std::min(low, numbers[i].toDouble());
                high = std::max(high, numbers[i].toDouble());
            }
            shapes.paths.append((low + high) / 2);
        } else if (xml.name() == u"text") {
            const double y = a.value(QStringLiteral("y")).toDouble();
            shapes.texts.append({xml.readElementText().trimmed(), y});
        }
    }
    return shapes;
}
