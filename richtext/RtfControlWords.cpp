#include "RtfControlWords.h"

#include <algorithm>
#include <array>

namespace rtf
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
constexpr ControlWord entry(std::string_view name, BreakWord id)
{
    return {name, WordKind::Break, int(id)};
}
constexpr ControlWord entry(std::string_view name, FontWord id)
{
    return {name, WordKind::Font, int(id)};
}
constexpr ControlWord entry(std::string_view name, ColourWord id)
{
    return {name, WordKind::Colour, int(id)};
}
constexpr ControlWord entry(std::string_view name, PictureWord id)
{
    return {name, WordKind::Picture, int(id)};
}
constexpr ControlWord symbol(std::string_view name, char16_t unit)
{
    return {name, WordKind::Symbol, int(unit)};
}

constexpr Destination kSkip = Destination::Skip;
constexpr Destination kText = Destination::Text;

// Sorted by name (byte order); checked at compile time below.
constexpr std::array kWords = {
    entry("aftncn", kSkip),
    entry("aftnsep", kSkip),
    entry("aftnsepc", kSkip),
    entry("annotation", kSkip),
    entry("ansi", DocumentWord::Ansi),
    entry("ansicpg", DocumentWord::AnsiCodePage),
    entry("atnauthor", kSkip),
    entry("atndate", kSkip),
    entry("atnicn", kSkip),
    entry("atnid", kSkip),
    entry("atnparent", kSkip),
    entry("atnref", kSkip),
    entry("atntime", kSkip),
    entry("atrfend", kSkip),
    entry("atrfstart", kSkip),
    entry("b", CharacterWord::Bold),
    entry("bkmkend", kSkip),
    entry("bkmkstart", kSkip),
    entry("blipuid", kSkip),
    entry("blue", ColourWord::Blue),
    symbol("bullet", 0x2022),
    entry("cb", CharacterWord::Background),
    entry("cell", BreakWord::Cell),
    entry("cf", CharacterWord::Foreground),
    entry("chcbpat", CharacterWord::Background),
    entry("colorschememapping", kSkip),
    entry("colortbl", Destination::ColourTable),
    entry("cpg", FontWord::CodePage),
    entry("datafield", kSkip),
    entry("datastore", kSkip),
    entry("deff", DocumentWord::DefaultFont),
    entry("docvar", kSkip),
    symbol("emdash", 0x2014),
    symbol("emspace", 0x2003),
    symbol("endash", 0x2013),
    symbol("enspace", 0x2002),
    entry("f", CharacterWord::Font),
    entry("falt", kSkip),
    entry("fcharset", FontWord::Charset),
    entry("fi", ParagraphWord::FirstLineIndent),
    entry("field", kText),
    entry("filetbl", kSkip),
    entry("fldinst", kSkip),
    entry("fldrslt", kText),
    entry("fontemb", kSkip),
    entry("fontfile", kSkip),
    entry("fonttbl", Destination::FontTable),
    entry("footer", kSkip),
    entry("footerf", kSkip),
    entry("footerl", kSkip),
    entry("footerr", kSkip),
    entry("footnote", kSkip),
    entry("formfield", kSkip),
    entry("fs", CharacterWord::FontSize),
    entry("ftncn", kSkip),
    entry("ftnsep", kSkip),
    entry("ftnsepc", kSkip),
    entry("generator", kSkip),
    entry("green", ColourWord::Green),
    entry("header", kSkip),
    entry("headerf", kSkip),
    entry("headerl", kSkip),
    entry("headerr", kSkip),
    entry("highlight", CharacterWord::Background),
    entry("i", CharacterWord::Italic),
    entry("info", kSkip),
    entry("jpegblip", PictureWord::Jpeg),
    symbol("ldblquote", 0x201C),
    entry("li", ParagraphWord::LeftIndent),
    symbol("line", 0x2028),
    entry("listoverridetable", kSkip),
    entry("listpicture", kSkip),
    entry("listtable", kSkip),
    entry("listtext", kText),
    symbol("lquote", 0x2018),
    symbol("ltrmark", 0x200E),
    entry("mac", DocumentWord::Mac),
    entry("mmathPr", kSkip),
    entry("nestcell", BreakWord::Cell),
    entry("nestrow", BreakWord::Row),
    entry("nonesttables", kSkip),
    entry("nonshppict", kSkip),
    entry("nosupersub", CharacterWord::NoSuperSub),
    entry("object", kSkip),
    entry("page", BreakWord::Paragraph),
    entry("panose", kSkip),
    entry("par", BreakWord::Paragraph),
    entry("pard", ParagraphWord::Reset),
    entry("pc", DocumentWord::Pc),
    entry("pca", DocumentWord::Pca),
    entry("pgdsctbl", kSkip),
    entry("pgptbl", kSkip),
    entry("pichgoal", PictureWord::GoalHeight),
    entry("picprop", kSkip),
    entry("picscalex", PictureWord::ScaleX),
    entry("picscaley", PictureWord::ScaleY),
    entry("pict", Destination::Picture),
    entry("picwgoal", PictureWord::GoalWidth),
    entry("plain", CharacterWord::Plain),
    entry("pn", kSkip),
    entry("pngblip", PictureWord::Png),
    entry("pnseclvl", kSkip),
    entry("pntext", kText),
    entry("pntxta", kSkip),
    entry("pntxtb", kSkip),
    entry("protusertbl", kSkip),
    entry("qc", ParagraphWord::AlignCenter),
    entry("qd", ParagraphWord::AlignJustify),
    entry("qj", ParagraphWord::AlignJustify),
    entry("ql", ParagraphWord::AlignLeft),
    symbol("qmspace", 0x2005),
    entry("qr", ParagraphWord::AlignRight),
    symbol("rdblquote", 0x201D),
    entry("red", ColourWord::Red),
    entry("revtbl", kSkip),
    entry("ri", ParagraphWord::RightIndent),
    entry("row", BreakWord::Row),
    symbol("rquote", 0x2019),
    entry("rsidtbl", kSkip),
    symbol("rtlmark", 0x200F),
    entry("sa", ParagraphWord::SpaceAfter),
    entry("sb", ParagraphWord::SpaceBefore),
    entry("sect", BreakWord::Paragraph),
    entry("shpinst", kSkip),
    entry("shppict", kText),
    entry("strike", CharacterWord::Strike),
    entry("striked", CharacterWord::Strike),
    entry("stylesheet", kSkip),
    entry("sub", CharacterWord::Subscript),
    entry("super", CharacterWord::Superscript),
    symbol("tab", 0x0009),
    entry("tc", kSkip),
    entry("themedata", kSkip),
    entry("txe", kSkip),
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
    entry("userprops", kSkip),
    entry("v", CharacterWord::Hidden),
    entry("wgrffmtfilter", kSkip),
    entry("xe", kSkip),
    entry("xmlnstbl", kSkip),
    symbol("zwbo", 0x200B),
    symbol("zwj", 0x200D),
    symbol("zwnj", 0x200C),
};

constexpr bool nameLess(const ControlWord &a, const ControlWord &b)
{
    return a.name < b.name;
}

static_assert(std::is_sorted(kWords.begin(), kWords.end(), nameLess),
              "control words must stay sorted for the binary search");
static_assert(std::adjacent_find(kWords.begin(), kWords.end(),
                                 [](const ControlWord &a, const ControlWord &b) {
                                     return a.name == b.name;
                                 }) == kWords.end(),
              "control words must be unique");

} // namespace

const ControlWord *findControlWord(QByteArrayView name)
{
    const std::string_view key(name.data(), size_t(name.size()));
    const auto it = std::lower_bound(
        kWords.begin(), kWords.end(), key,
        [](const ControlWord &word, std::string_view wanted) { return word.name < wanted; });
    if (it == kWords.end() || it->name != key)
        return nullptr;
    return &*it;
}

} // namespace rtf
