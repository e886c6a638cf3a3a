#include "RtfControlWords.h"

#include <algorithm>
#include <array>

namespace fosdat::rtf
{

namespace
{

constexpr ControlWord entry(std::string_view name, Destination id)
{
    return {name, WordKind::Destination, int(id)};
}
constexpr ControlWord entry(std::string_view name, DocumentWord id)
{
    return {name, WordKind::Document, int(id)};
}
constexpr ControlWord entry(std::string_view name, CharacterWord id)
{
    return {name, WordKind::Character, int(id)};
}
constexpr ControlWord entry(std::string_view name, ParagraphWord id)
{
    return {name, WordKind::Paragraph, int(id)};
}
constexpr ControlWord entry(std::string_view name, TabWord id)
{
    return {name, WordKind::Tab, int(id)};
}
constexpr ControlWord entry(std::string_view name, BreakWord id)
{
    return {name, WordKind::Break, int(id)};
}
constexpr ControlWord entry(std::string_view name, FontWord id)
{
    return {name, WordKind::Font, int(id)};
}
constexpr ControlWord entry(std::string_view name, ColorWord id)
{
    return {name, WordKind::Color, int(id)};
}
constexpr ControlWord entry(std::string_view name, PictureWord id)
{
    return {name, WordKind::Picture, int(id)};
}
constexpr ControlWord symbol(std::string_view name, char16_t unit)
{
    return {name, WordKind::Symbol, int(unit)};
}

constexpr Destination SkipGroup = Destination::Skip;
constexpr Destination TextGroup = Destination::Text;

// Sorted by name (byte order); checked at compile time below.
constexpr std::array Words = {
    entry("aftncn", SkipGroup),
    entry("aftnsep", SkipGroup),
    entry("aftnsepc", SkipGroup),
    entry("annotation", SkipGroup),
    entry("ansi", DocumentWord::Ansi),
    entry("ansicpg", DocumentWord::AnsiCodePage),
    entry("atnauthor", SkipGroup),
    entry("atndate", SkipGroup),
    entry("atnicn", SkipGroup),
    entry("atnid", SkipGroup),
    entry("atnparent", SkipGroup),
    entry("atnref", SkipGroup),
    entry("atntime", SkipGroup),
    entry("atrfend", SkipGroup),
    entry("atrfstart", SkipGroup),
    entry("b", CharacterWord::Bold),
    entry("bkmkend", SkipGroup),
    entry("bkmkstart", SkipGroup),
    entry("blipuid", SkipGroup),
    entry("blue", ColorWord::Blue),
    symbol("bullet", 0x2022),
    entry("caps", CharacterWord::Capitals),
    entry("cb", CharacterWord::Background),
    entry("cell", BreakWord::Cell),
    entry("cf", CharacterWord::Foreground),
    entry("chcbpat", CharacterWord::Background),
    entry("chftn", CharacterWord::FootnoteNumber),
    entry("colorschememapping", SkipGroup),
    entry("colortbl", Destination::ColorTable),
    entry("cpg", FontWord::CodePage),
    entry("datafield", SkipGroup),
    entry("datastore", SkipGroup),
    entry("deff", DocumentWord::DefaultFont),
    entry("deftab", DocumentWord::DefaultTab),
    entry("docvar", SkipGroup),
    symbol("emdash", 0x2014),
    symbol("emspace", 0x2003),
    symbol("endash", 0x2013),
    symbol("enspace", 0x2002),
    entry("f", CharacterWord::Font),
    entry("falt", SkipGroup),
    entry("fcharset", FontWord::Charset),
    entry("fi", ParagraphWord::FirstLineIndent),
    entry("field", TextGroup),
    entry("filetbl", SkipGroup),
    entry("fldinst", SkipGroup),
    entry("fldrslt", TextGroup),
    entry("fontemb", SkipGroup),
    entry("fontfile", SkipGroup),
    entry("fonttbl", Destination::FontTable),
    entry("footer", SkipGroup),
    entry("footerf", SkipGroup),
    entry("footerl", SkipGroup),
    entry("footerr", SkipGroup),
    entry("footnote", Destination::Footnote),
    entry("formfield", SkipGroup),
    entry("fs", CharacterWord::FontSize),
    entry("ftncn", SkipGroup),
    entry("ftnsep", SkipGroup),
    entry("ftnsepc", SkipGroup),
    entry("generator", SkipGroup),
    entry("green", ColorWord::Green),
    entry("header", SkipGroup),
    entry("headerf", SkipGroup),
    entry("headerl", SkipGroup),
    entry("headerr", SkipGroup),
    entry("highlight", CharacterWord::Background),
    entry("i", CharacterWord::Italic),
    entry("info", SkipGroup),
    entry("jpegblip", PictureWord::Jpeg),
    symbol("ldblquote", 0x201C),
    entry("li", ParagraphWord::LeftIndent),
    symbol("line", 0x2028),
    entry("listoverridetable", SkipGroup),
    entry("listpicture", SkipGroup),
    entry("listtable", SkipGroup),
    entry("listtext", TextGroup),
    symbol("lquote", 0x2018),
    symbol("ltrmark", 0x200E),
    entry("mac", DocumentWord::Mac),
    entry("mmathPr", SkipGroup),
    entry("nestcell", BreakWord::Cell),
    entry("nestrow", BreakWord::Row),
    entry("nonesttables", SkipGroup),
    entry("nonshppict", SkipGroup),
    entry("nosupersub", CharacterWord::NoSuperSub),
    entry("object", SkipGroup),
    entry("page", BreakWord::Paragraph),
    entry("panose", SkipGroup),
    entry("par", BreakWord::Paragraph),
    entry("pard", ParagraphWord::Reset),
    entry("pc", DocumentWord::Pc),
    entry("pca", DocumentWord::Pca),
    entry("pgdsctbl", SkipGroup),
    entry("pgptbl", SkipGroup),
    entry("pichgoal", PictureWord::GoalHeight),
    entry("picprop", SkipGroup),
    entry("picscalex", PictureWord::ScaleX),
    entry("picscaley", PictureWord::ScaleY),
    entry("pict", Destination::Picture),
    entry("picwgoal", PictureWord::GoalWidth),
    entry("plain", CharacterWord::Plain),
    entry("pn", SkipGroup),
    entry("pngblip", PictureWord::Png),
    entry("pnseclvl", SkipGroup),
    entry("pntext", TextGroup),
    entry("pntxta", SkipGroup),
    entry("pntxtb", SkipGroup),
    entry("protusertbl", SkipGroup),
    entry("qc", ParagraphWord::AlignCenter),
    entry("qd", ParagraphWord::AlignJustify),
    entry("qj", ParagraphWord::AlignJustify),
    entry("ql", ParagraphWord::AlignLeft),
    symbol("qmspace", 0x2005),
    entry("qr", ParagraphWord::AlignRight),
    symbol("rdblquote", 0x201D),
    entry("red", ColorWord::Red),
    entry("revtbl", SkipGroup),
    entry("ri", ParagraphWord::RightIndent),
    entry("row", BreakWord::Row),
    symbol("rquote", 0x2019),
    entry("rsidtbl", SkipGroup),
    symbol("rtlmark", 0x200F),
    entry("sa", ParagraphWord::SpaceAfter),
    entry("sb", ParagraphWord::SpaceBefore),
    entry("scaps", CharacterWord::SmallCapitals),
    entry("sect", BreakWord::Paragraph),
    entry("shpinst", SkipGroup),
    entry("shppict", TextGroup),
    entry("strike", CharacterWord::Strike),
    entry("striked", CharacterWord::Strike),
    entry("stylesheet", SkipGroup),
    entry("sub", CharacterWord::Subscript),
    entry("super", CharacterWord::Superscript),
    symbol("tab", 0x0009),
    entry("tb", TabWord::Bar),
    entry("tc", SkipGroup),
    entry("themedata", SkipGroup),
    entry("tqc", TabWord::Center),
    entry("tqdec", TabWord::Decimal),
    entry("tqr", TabWord::Right),
    entry("tx", TabWord::Position),
    entry("txe", SkipGroup),
    entry("u", DocumentWord::Unicode),
    entry("uc", DocumentWord::UnicodeSkip),
    entry("ul", CharacterWord::Underline),
    entry("uld", CharacterWord::Underline),
    entry("uldash", CharacterWord::Underline),
    entry("uldashd", CharacterWord::Underline),
    entry("uldashdd", CharacterWord::Underline),
    entry("uldb", CharacterWord::Underline),
    entry("ulhwave", CharacterWord::Underline),
    entry("ulldash", CharacterWord::Underline),
    entry("ulnone", CharacterWord::UnderlineNone),
    entry("ulth", CharacterWord::Underline),
    entry("ulthd", CharacterWord::Underline),
    entry("ulthdash", CharacterWord::Underline),
    entry("ulthdashd", CharacterWord::Underline),
    entry("ulthdashdd", CharacterWord::Underline),
    entry("ulthldash", CharacterWord::Underline),
    entry("ululdbwave", CharacterWord::Underline),
    entry("ulw", CharacterWord::Underline),
    entry("ulwave", CharacterWord::Underline),
    entry("userprops", SkipGroup),
    entry("v", CharacterWord::Hidden),
    entry("wgrffmtfilter", SkipGroup),
    entry("xe", SkipGroup),
    entry("xmlnstbl", SkipGroup),
    symbol("zwbo", 0x200B),
    symbol("zwj", 0x200D),
    symbol("zwnj", 0x200C),
};

constexpr bool nameLess(const ControlWord &a, const ControlWord &b)
{
    return a.name < b.name;
}

static_assert(std::is_sorted(Words.begin(), Words.end(), nameLess),
              "control words must stay sorted for the binary search");
static_assert(std::adjacent_find(Words.begin(), Words.end(),
                                 [](const ControlWord &a, const ControlWord &b) {
                                     return a.name == b.name;
                                 }) == Words.end(),
              "control words must be unique");

} // namespace

const ControlWord *findControlWord(QByteArrayView name)
{
    const std::string_view key(name.data(), size_t(name.size()));
    const auto it = std::lower_bound(
        Words.begin(), Words.end(), key,
        [](const ControlWord &word, std::string_view wanted) { return word.name < wanted; });
    if (it == Words.end() || it->name != key)
        return nullptr;
    return &*it;
}

} // namespace fosdat::rtf
