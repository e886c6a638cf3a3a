#pragma once

#include <QtGlobal>

// Units shared by the RTF reader and writer. Lengths in a QTextDocument (block
// margins, indents, image sizes) are pixels at 96 dots per inch; RTF measures
// them in units of 1/1440 inch, so one pixel is exactly 15 of them. Font sizes
// are points in the document and half points in RTF. The writer inverts these
// conversions exactly: rtfLengthFromPixels(pixelsFromRtfLength(t)) == t for every t.
namespace fosdat::rtf::units
{

inline constexpr int RtfLengthPerPixel = 15;
inline constexpr int DefaultHalfPoints = 24; // 12 pt, the size of text without \fs
inline constexpr int DefaultTabLength = 720; // half an inch, the tab distance without \deftab

constexpr qreal pixelsFromRtfLength(int length)
{
    return qreal(length) / RtfLengthPerPixel;
}

inline int rtfLengthFromPixels(qreal pixels)
{
    return qRound(pixels * RtfLengthPerPixel);
}

constexpr qreal pointsFromHalfPoints(int halfPoints)
{
    return qreal(halfPoints) / 2;
}

inline int halfPointsFromPoints(qreal points)
{
    return qRound(points * 2);
}

} // namespace fosdat::rtf::units
