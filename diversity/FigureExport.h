#pragma once

#include "DiversityFigure.h"
#include "RangeChart.h"

#include <QByteArray>
#include <functional>

namespace fosdat::diversity
{

// The size of an exported figure on paper. It is laid out at 96 logical
// pixels an inch, so that its texts keep their sizes in points (11 pixels
// are 8.25 points) at every width: a narrow figure is laid out narrow, not
// scaled down.
struct FigureSize {
    double widthMm = 174;
    double heightMm = 98;

    QSizeF logical() const { return QSizeF(widthMm, heightMm) / 25.4 * 96; }
};
inline constexpr FigureSize JournalColumn{84, 63};
inline constexpr FigureSize PageWidth{174, 98};
inline constexpr FigureSize Slide{254, 143};

// A drawing to export: pages of one size on paper, each painted in logical
// pixels from the origin.
struct Drawing {
    FigureSize size;
    int pages = 1;
    QString title;       // of the file
    QString description; // of an SVG file
    std::function<void(QPainter &painter, int page)> paint;
};

// Vector graphics of its first page, one unit a logical pixel, its text as
// text.
QByteArray drawingSvg(const Drawing &drawing);
// A picture of its first page at `dotsPerInch`.
QByteArray drawingPng(const Drawing &drawing, double dotsPerInch);
// Every page, without margins.
QByteArray drawingPdf(const Drawing &drawing);

// A figure drawn by DiversityFigure at `size` onto a file format's paint
// device, as the file's bytes; empty when the device could not be painted on.

// Vector graphics of that size, one unit a logical pixel, its text as text.
QByteArray figureSvg(const FigureContent &content, FigureSize size = PageWidth);
// A picture at 300 pixels an inch.
QByteArray figurePng(const FigureContent &content, FigureSize size = PageWidth);
inline constexpr double PngDotsPerInch = 300;
// One page of the figure's size, without margins.
QByteArray figurePdf(const FigureContent &content, FigureSize size = PageWidth);

// A range chart `size` wide. SVG and PNG hold every row in one picture as
// tall as they need; a PNG taller than PngPixels at 300 pixels an inch is
// drawn at the resolution that keeps it within them. A PDF is paged, each
// page as wide and √2 times as high, its axis and band on every page.
QByteArray rangeChartSvg(const RangeChartContent &content, FigureSize size = PageWidth);
QByteArray rangeChartPng(const RangeChartContent &content, FigureSize size = PageWidth);
QByteArray rangeChartPdf(const RangeChartContent &content, FigureSize size = PageWidth);
inline constexpr double PngPixels = 64e6;

} // namespace fosdat::diversity
