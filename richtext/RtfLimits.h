#pragma once

#include <QtGlobal>

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

// Bytes of one decoded picture (width x height x bytes per pixel of the format
// it decodes to): 64 MB, a 4096 x 4096 picture of 32-bit pixels. A 16-bit PNG
// decodes to 8 bytes a pixel and is counted so.
inline constexpr qint64 MaxPictureBytes = qint64(64) << 20;

// Bytes of all decoded pictures of one document (64 MB): a few compressed
// bytes can expand to a large image, so the total is bounded as well as each picture.
inline constexpr qint64 MaxDocumentPictureBytes = MaxPictureBytes;

// Scans of a progressive JPEG: libjpeg's progressive scripts use at most 10,
// and each scan costs a pass over the whole picture (13 ms at 4096 x 4096).
inline constexpr int MaxJpegScans = 32;

// The caps below keep what the view has to lay out linear in time and far
// from Qt 6.4's layout defect (QtLayoutHeight). bench/LayoutBenchmarks.cpp
// measures where each cost bends. They shape and end the document a view is
// given, never the text: reaching a document-wide cap ends the document (the
// reader goes on counting the characters it leaves out, and the text-only
// reading goes on to the end), reaching a paragraph's cap breaks it in two.

// Height in pixels past which a QTextDocument's layout never finishes: a
// QTextEdit whose laid-out content passes 2^23 px (INT_MAX / 256) stalls.
// A view that lays a document out larger than its own sizes says how much of
// this it can take (ReadOptions::layoutHeight).
inline constexpr qreal QtLayoutHeight = 1 << 23;

// Paragraphs of one document: 25 times the 4,000 of a real catalogue; about
// 1 s of layout and 80 MB of paragraphs.
inline constexpr int MaxParagraphs = 100000;

// Empty paragraphs in a row; more are dropped. Real catalogues have one at
// most, 50 are nearly three views of blank lines.
inline constexpr int MaxEmptyParagraphRun = 50;

// Characters of one paragraph before it is broken (after its last space or
// other place to break a line). Qt lays out a paragraph in one piece: 10,000
// characters take about 6 ms, and a million 0.6 s, twice as much a character
// beyond. Real paragraphs have at most 214.
inline constexpr int MaxParagraphCharacters = 10000;

// Tabs of one paragraph before it is broken after the last of them. Where a
// tab stop lies beyond the line's end, each tab takes a line, and Qt lays out
// such tabs in a paragraph in time that bends to the square of their number
// past 16: 12 us a tab up to 16, 22 at 32, 34 at 64, twice as much with each
// doubling beyond (4,096: 7.5 s). Qt lays out 1,000 characters at a time, so
// a step of them stays near 12 ms. Real paragraphs have two or three.
inline constexpr int MaxParagraphTabs = 16;

// Changes of the character format in one paragraph before it is broken: each
// costs about 12 us of layout up to 65,536 in a paragraph, twice as much
// beyond. Real paragraphs have three.
inline constexpr int MaxParagraphFormatChanges = 1000;

// Estimated height in pixels of one paragraph, at the document's own sizes,
// before it is broken after its last place to break a line: the tallest
// paragraph must fit in the part of a document a view lays out at a time
// (RtfRecordDocument.h), at the largest zoom. 100,000 pixels are some 150
// screens; real paragraphs take a few lines.
inline constexpr qreal MaxParagraphHeight = 100000;

// Letters in a row without a place to break a line; a zero-width space is put
// after this many. Qt's line breaking is quadratic in a word's length (a word
// of 400,000 letters takes 83 s): per letter it is flat up to 4,096 letters,
// per change of format inside a word up to 512. Real words have 36 at most.
inline constexpr int MaxWordLetters = 256;

// Characters of one document: 30 times the largest real catalogue (123,000);
// about 2.5 s of layout.
inline constexpr qint64 MaxDocumentCharacters = 4000000;

// Changes of the character format in one document laid out whole that keep
// their format: past this many the text goes on in the document's plain
// format. A view that lays out a part of a document at a time
// (RtfRecord.h) keeps them all. A
// character in a format of its own costs about 10 us and 780 bytes once laid
// out: 0.2 s and 15 MB at the cap. Reading a change into a document costs
// about 1 us, plain text far less, and a small file is read at once: 0.2 MB
// of 50,000 bold toggles is read in about 29 ms with this cap, 32 ms with
// 30,000. A real catalogue has about 5,800 changes, a richly formatted one of
// 5 MB 240,000, of which the first entries keep their format.
inline constexpr int MaxDocumentFormatChanges = 20000;

// Changes of the character format kept within any stretch of the document
// `FormatStretchHeight` pixels tall, at the document's own sizes and the
// reader's line width (ContentBudget): past this many the rest of the
// stretch is in the plain format, and the next stretch keeps changes again.
// Qt lays a document out by height, as far down as is to be shown or
// printed, and 700 pixels of one-point characters each in a format of its
// own hold some 20,000 changes (95 ms to lay out): the cap keeps laying out
// any stretch of that height to about 20 ms. A real catalogue's stretch has
// a few hundred changes.
inline constexpr int MaxStretchFormatChanges = 4000;
inline constexpr qreal FormatStretchHeight = 700;

} // namespace fosdat::rtf::limits
