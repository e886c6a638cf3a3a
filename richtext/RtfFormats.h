#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// The look of text and paragraphs as the reader keeps it while reading:
// plain values that need Qt Core alone, so that the text-only reading holds
// the same formats as the document reading and counts their changes alike.
// A property at its default means "not set", as a Qt format property that is
// cleared: equal-looking text always has equal formats. Lengths are RTF
// length units (clamped to limits::MaxRtfLength), sizes half points.
namespace fosdat::rtf
{

enum class VerticalPosition : quint8 { Normal, Superscript, Subscript };
enum class Capitals : quint8 { None, All, Small };

// A colour as 0xRRGGBB, or NoColor for the automatic one.
using Rgb = int;
inline constexpr Rgb NoColor = -1;

struct CharFormat {
    QString family;     // empty: none given
    int halfPoints = 0; // 0: no size given
    Rgb foreground = NoColor;
    Rgb background = NoColor;
    VerticalPosition vertical = VerticalPosition::Normal;
    Capitals capitals = Capitals::None;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    // A zero-width space the reader puts into an over-long word: not the
    // file's text, so the writer leaves it out.
    bool wordBreak = false;

    friend bool operator==(const CharFormat &, const CharFormat &) = default;
};

enum class TabKind : quint8 { Left, Right, Center, Decimal };

struct TabStop {
    int position = 0; // from the paragraph's left edge
    TabKind kind = TabKind::Left;

    friend bool operator==(const TabStop &, const TabStop &) = default;
};

enum class Alignment : quint8 { Left, Center, Right, Justify };

struct BlockFormat {
    QList<TabStop> tabStops; // in order of position, each position once
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    Alignment alignment = Alignment::Left;
    // A horizontal rule across the paragraph: the one above the footnotes.
    bool rule = false;

    friend bool operator==(const BlockFormat &, const BlockFormat &) = default;
};

// The formats in effect at a point of the input.
struct TextFormats {
    CharFormat chars;
    BlockFormat block;
};

} // namespace fosdat::rtf
