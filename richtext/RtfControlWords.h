#pragma once

#include <QByteArrayView>
#include <string_view>

namespace fosdat::rtf
{

// What the text of a group is for.
enum class Destination : quint8 {
    Text,       // document text
    Skip,       // ignored whole, with every group inside
    FontTable,  // \fonttbl
    ColorTable, // \colortbl
    Picture,    // \pict
    Footnote,   // \footnote: text of its own, put after the document's text
};

enum class DocumentWord : quint8 {
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    DefaultTab,
};

enum class CharacterWord : quint8 {
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Superscript,
    Subscript,
    NoSuperSub,
    Plain,
    Font,
    FontSize,
    Foreground,
    Background,
    Capitals,
    SmallCapitals,
    FootnoteNumber, // the number of the footnote it stands in or before
};

enum class ParagraphWord : quint8 {
    Reset,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    SpaceBefore,
    SpaceAfter,
};

// Tab stops: a kind word (\tqr, \tqc, \tqdec) comes before the position (\txN) it applies to.
enum class TabWord : quint8 { Position, Bar, Right, Center, Decimal };

enum class BreakWord : quint8 { Paragraph, Cell, Row };

enum class FontWord : quint8 { Charset, CodePage };

enum class ColorWord : quint8 { Red, Green, Blue };

enum class PictureWord : quint8 { Png, Jpeg, GoalWidth, GoalHeight, ScaleX, ScaleY };

// The family a control word belongs to; it says how `id` is read.
enum class WordKind : quint8 {
    Destination, // id is a Destination
    Document,    // id is a DocumentWord
    Character,   // id is a CharacterWord
    Paragraph,   // id is a ParagraphWord
    Tab,         // id is a TabWord
    Break,       // id is a BreakWord
    Symbol,      // id is the UTF-16 code unit the word stands for
    Font,        // id is a FontWord
    Color,       // id is a ColorWord
    Picture,     // id is a PictureWord
};

struct ControlWord {
    std::string_view name;
    WordKind kind;
    int id;
};

// The control word of that name, or nullptr for a word the reader ignores.
const ControlWord *findControlWord(QByteArrayView name);

} // namespace fosdat::rtf
