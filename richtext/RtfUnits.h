#pragma once

#include <QtGlobal>

// Units shared by the RTF reader and writer. Lengths in a QTextDocument (block
// margins, indents, image sizes) are pixels at 96 dots per inch; RTF measures
// them in twips, 1440 to the inch, so one pixel is exactly 15 twips. Font sizes
// are points in the document and half points in RTF. The writer inverts these
// conversions exactly: twipsFromPixels(pixelsFromTwips(t)) == t for every t.
namespace rtf::units
{

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kDefaultHalfPoints = 24; // 12 pt, the size of text without \fs

constexpr qreal pixelsFromTwips(int twips)
{
    return qreal(twips) / kTwipsPerPixel;
}

inline int twipsFromPixels(qreal pixels)
{
    return qRound(pixels * kTwipsPerPixel);
}

constexpr qreal pointsFromHalfPoints(int halfPoints)
{
    return qreal(halfPoints) / 2;
}

inline int halfPointsFromPoints(qreal points)
{
    return qRound(points * 2);
}

} // namespace rtf::units
