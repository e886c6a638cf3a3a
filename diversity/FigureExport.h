#pragma once

#include "DiversityFigure.h"

#include <QByteArray>

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

// A figure drawn by DiversityFigure at `size` onto a file format's paint
// device, as the file's bytes; empty when the device could not be painted on.

// Vector graphics of that size, one unit a logical pixel, its text as text.
QByteArray figureSvg(const FigureContent &content, FigureSize size = PageWidth);
// A picture at 300 pixels an inch.
QByteArray figurePng(const FigureContent &content, FigureSize size = PageWidth);
inline constexpr double PngDotsPerInch = 300;
// One page of the figure's size, without margins.
QByteArray figurePdf(const FigureContent &content, FigureSize size = PageWidth);

} // namespace fosdat::diversity
