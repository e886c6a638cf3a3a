#include "RtfFormatWords.h"

#include "RtfLimits.h"

#include <algorithm>

namespace fosdat::rtf
{

namespace
{

int clampedLength(int length)
{
    return std::clamp(length, -limits::MaxRtfLength, limits::MaxRtfLength);
}

// \caps and \scaps share one property: switching one off leaves the other.
void setCapitals(CharFormat &chars, Capitals capitals, bool on)
{
    if (on)
        chars.capitals = capitals;
    else if (chars.capitals == capitals)
        chars.capitals = Capitals::None;
}

// Adds a stop, keeping the stops in order of position as the layout needs them;
// a stop at the position of another replaces it. Negative positions are dropped.
void addTabStop(BlockFormat &block, TabKind kind, int position)
{
    if (position < 0)
        return;
    const TabStop tab{std::min(position, limits::MaxRtfLength), kind};
    QList<TabStop> &tabs = block.tabStops;
    const auto at = std::find_if(tabs.begin(), tabs.end(), [&](const TabStop &other) {
        return other.position >= tab.position;
    });
    if (at != tabs.end() && at->position == tab.position)
        *at = tab;
    else if (tabs.size() < limits::MaxTabStops)
        tabs.insert(at, tab);
}

} // namespace

void applyCharacterWord(CharFormat &chars, CharacterWord word, bool on, int parameter)
{
    switch (word) {
    case CharacterWord::Bold:
        chars.bold = on;
        break;
    case CharacterWord::Italic:
        chars.italic = on;
        break;
    case CharacterWord::Underline: // every underline style reads as a plain underline
        chars.underline = on;
        break;
    case CharacterWord::UnderlineNone:
        chars.underline = false;
        break;
    case CharacterWord::Strike:
        chars.strike = on;
        break;
    case CharacterWord::Superscript:
        chars.vertical = on ? VerticalPosition::Superscript : VerticalPosition::Normal;
        break;
    case CharacterWord::Subscript:
        chars.vertical = on ? VerticalPosition::Subscript : VerticalPosition::Normal;
        break;
    case CharacterWord::NoSuperSub:
        chars.vertical = VerticalPosition::Normal;
        break;
    case CharacterWord::FontSize:
        if (parameter > 0) // \fs0 is no size at all
            chars.halfPoints = std::min(parameter, limits::MaxFontHalfPoints);
        break;
    case CharacterWord::Capitals:
        setCapitals(chars, Capitals::All, on);
        break;
    case CharacterWord::SmallCapitals:
        setCapitals(chars, Capitals::Small, on);
        break;
    case CharacterWord::Hidden:
    case CharacterWord::Plain:
    case CharacterWord::FootnoteNumber:
    case CharacterWord::Font:
    case CharacterWord::Foreground:
    case CharacterWord::Background:
        break; // these need the reader's state and tables
    }
}

void setColor(CharFormat &chars, CharacterWord word, Rgb color)
{
    (word == CharacterWord::Foreground ? chars.foreground : chars.background) = color;
}

void applyParagraphWord(BlockFormat &block, ParagraphWord word, int parameter)
{
    switch (word) {
    case ParagraphWord::Reset:
        block = BlockFormat();
        break;
    case ParagraphWord::AlignLeft:
        block.alignment = Alignment::Left;
        break;
    case ParagraphWord::AlignCenter:
        block.alignment = Alignment::Center;
        break;
    case ParagraphWord::AlignRight:
        block.alignment = Alignment::Right;
        break;
    case ParagraphWord::AlignJustify:
        block.alignment = Alignment::Justify;
        break;
    case ParagraphWord::LeftIndent:
        block.leftIndent = clampedLength(parameter);
        break;
    case ParagraphWord::RightIndent:
        block.rightIndent = clampedLength(parameter);
        break;
    case ParagraphWord::FirstLineIndent:
        block.firstLineIndent = clampedLength(parameter);
        break;
    case ParagraphWord::SpaceBefore:
        block.spaceBefore = clampedLength(parameter);
        break;
    case ParagraphWord::SpaceAfter:
        block.spaceAfter = clampedLength(parameter);
        break;
    }
}

void applyTabWord(BlockFormat &block, TabKind &kind, TabWord word, int parameter)
{
    switch (word) {
    case TabWord::Right:
        kind = TabKind::Right;
        return;
    case TabWord::Center:
        kind = TabKind::Center;
        return;
    case TabWord::Decimal:
        kind = TabKind::Decimal;
        return;
    case TabWord::Position:
        addTabStop(block, kind, parameter);
        break;
    case TabWord::Bar:
        // A bar tab only draws a vertical line, which a document cannot show;
        // the text does not stop at it, so it is no tab stop here either.
        break;
    }
    kind = TabKind::Left;
}

} // namespace fosdat::rtf
