#pragma once

#include "DiversityFigure.h"

#include <QByteArray>

namespace fosdat::diversity
{

// A figure drawn by DiversityFigure at its export size onto a file format's
// paint device, as the file's bytes; empty when the device could not be
// painted on.

// Vector graphics, one unit a logical pixel, its text as text.
QByteArray figureSvg(const FigureContent &content);
// A picture at twice the export size, for print and high-density screens.
QByteArray figurePng(const FigureContent &content);
inline constexpr int PngScale = 2;
// One landscape A4 page, the figure scaled to it within 10 mm margins.
QByteArray figurePdf(const FigureContent &content);

} // namespace fosdat::diversity
