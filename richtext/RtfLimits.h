#pragma once

// Every bound the RTF reader puts on its input, in one place. Crossing one never
// fails a read: the excess is skipped or clamped, so hostile input costs at most
// time linear in its size and memory bounded by these numbers.
namespace fosdat::rtf::limits
{

// Real documents nest a few dozen groups; deeper groups are skipped with their
// content so the state stack never grows past this.
inline constexpr int MaxGroupDepth = 512;

// The longest control word in use has 24 letters; longer names are unknown words.
inline constexpr int MaxControlWordLength = 32;

// Ten significant digits already exceed 32 bits; further digits only saturate.
inline constexpr int MaxParameterDigits = 10;

// Fallback text after \uN is a handful of bytes; larger \uc values are clamped.
inline constexpr int MaxUnicodeSkip = 10;

// Distinct font-table entries kept; documents use a few dozen fonts at most.
inline constexpr int MaxFonts = 1024;

// Bytes of one font name kept; real names are under 64 characters.
inline constexpr int MaxFontNameBytes = 256;

// Color-table entries kept; a table is indexed by position, real ones are small.
inline constexpr int MaxColors = 1024;

// RTF length (1/1440 inch) of an indent or spacing: 22 inches, the widest page a word processor
// offers.
inline constexpr int MaxRtfLength = 31680;

// Tab stops of one paragraph; word processors offer a few dozen at most.
inline constexpr int MaxTabStops = 64;

// Largest font size in half points (1638 pt, the usual word-processor maximum).
inline constexpr int MaxFontHalfPoints = 3276;

// Scale of a picture in percent; ten times its goal size is larger than a page.
inline constexpr int MaxPictureScale = 1000;

// Pixels of one decoded picture: 4096 x 4096, 64 MB as 32-bit pixels.
inline constexpr qint64 MaxPicturePixels = qint64(4096) * 4096;

// Pixels of all pictures of one document (64 MB): a few compressed bytes can
// expand to a large image, so the total is bounded as well as each picture.
inline constexpr qint64 MaxDocumentPicturePixels = MaxPicturePixels;

} // namespace fosdat::rtf::limits
