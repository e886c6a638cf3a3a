#include "RtfFormatWords.h"

#include "RtfLimits.h"
#include "RtfUnits.h"

#include <algorithm>

namespace fosdat::rtf
{

namespace
{

void setFlag(QTextCharFormat &chars, int property, bool on)
{
    if (on)
        chars.setProperty(property, true);
    else
        chars.clearProperty(property);
}

// A length property from RTF length units, unset at zero.
void setLength(QTextBlockFormat &block, int property, int length)
{
    length = std::clamp(length, -limits::MaxRtfLength, limits::MaxRtfLength);
    if (length == 0)
        block.clearProperty(property);
    else
        block.setProperty(property, units::pixelsFromRtfLength(length));
}

// \caps and \scaps share one property: switching one off leaves the other.
void setCapitalization(QTextCharFormat &chars, QFont::Capitalization capitalization, bool on)
{
    if (on)
        chars.setFontCapitalization(capitalization);
    else if (chars.hasProperty(QTextFormat::FontCapitalization) &&
             chars.fontCapitalization() == capitalization)
        chars.clearProperty(QTextFormat::FontCapitalization);
}

// Adds a stop, keeping the stops in order of position as the layout needs them;
// a stop at the position of another replaces it. Negative positions are dropped.
void addTabStop(QTextBlockFormat &block, QTextOption::Tab tab, int position)
{
    if (position < 0)
        return;
    tab.position = units::pixelsFromRtfLength(std::min(position, limits::MaxRtfLength));
    QList<QTextOption::Tab> tabs = block.tabPositions();
    const auto at = std::find_if(tabs.begin(), tabs.end(), [&](const QTextOption::Tab &other) {
        return other.position >= tab.position;
    });
    if (at != tabs.end() && at->position == tab.position)
        *at = tab;
    else if (tabs.size() < limits::MaxTabStops)
        tabs.insert(at, tab);
    else
        return;
    block.setTabPositions(tabs);
}

void setVerticalAlignment(QTextCharFormat &chars, QTextCharFormat::VerticalAlignment alignment)
{
    if (alignment == QTextCharFormat::AlignNormal)
        chars.clearProperty(QTextFormat::TextVerticalAlignment);
    else
        chars.setVerticalAlignment(alignment);
}

} // namespace

void applyCharacterWord(QTextCharFormat &chars, CharacterWord word, bool on, int parameter)
{
    switch (word) {
    case CharacterWord::Bold:
        on ? chars.setFontWeight(QFont::Bold) : chars.clearProperty(QTextFormat::FontWeight);
        break;
    case CharacterWord::Italic:
        setFlag(chars, QTextFormat::FontItalic, on);
        break;
    case CharacterWord::Underline: // every underline style reads as a plain underline
        on ? chars.setFontUnderline(true) : chars.clearProperty(QTextFormat::TextUnderlineStyle);
        break;
    case CharacterWord::UnderlineNone:
        chars.clearProperty(QTextFormat::TextUnderlineStyle);
        break;
    case CharacterWord::Strike:
        setFlag(chars, QTextFormat::FontStrikeOut, on);
        break;
    case CharacterWord::Superscript:
        setVerticalAlignment(chars,
                             on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal);
        break;
    case CharacterWord::Subscript:
        setVerticalAlignment(chars,
                             on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal);
        break;
    case CharacterWord::NoSuperSub:
        setVerticalAlignment(chars, QTextCharFormat::AlignNormal);
        break;
    case CharacterWord::FontSize:
        if (parameter > 0) // \fs0 is no size at all
            chars.setFontPointSize(
                units::pointsFromHalfPoints(std::min(parameter, limits::MaxFontHalfPoints)));
        break;
    case CharacterWord::Capitals:
        setCapitalization(chars, QFont::AllUppercase, on);
        break;
    case CharacterWord::SmallCapitals:
        setCapitalization(chars, QFont::SmallCaps, on);
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

void setColor(QTextCharFormat &chars, CharacterWord word, const QColor &color)
{
    const int property = word == CharacterWord::Foreground ? QTextFormat::ForegroundBrush
                                                           : QTextFormat::BackgroundBrush;
    if (color.isValid())
        chars.setProperty(property, QBrush(color));
    else
        chars.clearProperty(property);
}

void applyParagraphWord(QTextBlockFormat &block, ParagraphWord word, int parameter)
{
    switch (word) {
    case ParagraphWord::Reset:
        block = QTextBlockFormat();
        break;
    case ParagraphWord::AlignLeft:
        block.clearProperty(QTextFormat::BlockAlignment);
        break;
    case ParagraphWord::AlignCenter:
        block.setAlignment(Qt::AlignHCenter);
        break;
    case ParagraphWord::AlignRight:
        block.setAlignment(Qt::AlignRight);
        break;
    case ParagraphWord::AlignJustify:
        block.setAlignment(Qt::AlignJustify);
        break;
    case ParagraphWord::LeftIndent:
        setLength(block, QTextFormat::BlockLeftMargin, parameter);
        break;
    case ParagraphWord::RightIndent:
        setLength(block, QTextFormat::BlockRightMargin, parameter);
        break;
    case ParagraphWord::FirstLineIndent:
        setLength(block, QTextFormat::TextIndent, parameter);
        break;
    case ParagraphWord::SpaceBefore:
        setLength(block, QTextFormat::BlockTopMargin, parameter);
        break;
    case ParagraphWord::SpaceAfter:
        setLength(block, QTextFormat::BlockBottomMargin, parameter);
        break;
    }
}

void applyTabWord(QTextBlockFormat &block, QTextOption::TabType &kind, TabWord word, int parameter)
{
    switch (word) {
    case TabWord::Right:
        kind = QTextOption::RightTab;
        return;
    case TabWord::Center:
        kind = QTextOption::CenterTab;
        return;
    case TabWord::Decimal:
        kind = QTextOption::DelimiterTab;
        return;
    case TabWord::Position:
        // A decimal stop aligns on the decimal comma of the catalogues' numbers.
        addTabStop(block, {0, kind, kind == QTextOption::DelimiterTab ? u',' : QChar()}, parameter);
        break;
    case TabWord::Bar:
        // A bar tab only draws a vertical line, which a document cannot show;
        // the text does not stop at it, so it is no tab stop here either.
        break;
    }
    kind = QTextOption::LeftTab;
}

} // namespace fosdat::rtf
