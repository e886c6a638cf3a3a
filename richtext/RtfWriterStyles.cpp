#include "RtfWriterStyles.h"

#include "RtfLimits.h"
#include "RtfUnits.h"

#include <QBrush>
#include <algorithm>

namespace fosdat::rtf::writer
{

namespace
{

// The font table's character set: Cyrillic.
constexpr int CyrillicCharset = 204;

std::string_view tabKind(QTextOption::TabType type)
{
    switch (type) {
    case QTextOption::LeftTab:
        break;
    case QTextOption::RightTab:
        return "tqr";
    case QTextOption::CenterTab:
        return "tqc";
    case QTextOption::DelimiterTab:
        return "tqdec";
    }
    return {};
}

// The stops a reader takes: the first ones, at positions not below zero.
std::vector<TabStop> tabStops(const QList<QTextOption::Tab> &tabs)
{
    std::vector<TabStop> stops;
    for (const QTextOption::Tab &tab : tabs) {
        const int position = toRtfLength(tab.position);
        if (position >= 0 && stops.size() < size_t(limits::MaxTabStops))
            stops.push_back({tabKind(tab.type), position});
    }
    return stops;
}

std::optional<QRgb> brushColor(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb() & RGB_MASK;
}

// Sizes and lengths are kept within what a reader takes.
int toHalfPoints(qreal points)
{
    return std::clamp(
        units::halfPointsFromPoints(std::min(points, qreal(limits::MaxFontHalfPoints))), 1,
        limits::MaxFontHalfPoints);
}

} // namespace

int toRtfLength(qreal pixels)
{
    constexpr qreal MaxPixels = units::pixelsFromRtfLength(limits::MaxRtfLength);
    if (qIsNaN(pixels))
        return 0;
    return units::rtfLengthFromPixels(std::clamp(pixels, -MaxPixels, MaxPixels));
}

int defaultTabLength(const QTextDocument &document)
{
    constexpr qreal LayoutDefault = 80; // what the layout uses for a distance of 0 or less
    const qreal distance = document.defaultTextOption().tabStopDistance();
    return std::max(toRtfLength(distance > 0 ? distance : LayoutDefault), 1);
}

int StyleTables::font(const QString &family)
{
    if (const auto it = m_fontIndex.constFind(family); it != m_fontIndex.cend())
        return *it;
    m_fonts.append(family);
    return *m_fontIndex.insert(family, int(m_fonts.size()) - 1);
}

int StyleTables::color(QRgb rgb)
{
    if (const auto it = m_colorIndex.constFind(rgb); it != m_colorIndex.cend())
        return *it;
    m_colors.append(rgb);
    return *m_colorIndex.insert(rgb, int(m_colors.size()));
}

void StyleTables::write(RtfOutput &out) const
{
    out.openGroup();
    out.word("fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out.openGroup();
        out.word("f", int(i));
        out.word("fnil");
        out.word("fcharset", CyrillicCharset);
        out.text(m_fonts[i]);
        out.text(u";");
        out.closeGroup();
    }
    out.closeGroup();
    out.lineBreak();
    out.openGroup();
    out.word("colortbl");
    out.text(u";");
    for (const QRgb rgb : m_colors) {
        out.word("red", qRed(rgb));
        out.word("green", qGreen(rgb));
        out.word("blue", qBlue(rgb));
        out.text(u";");
    }
    out.closeGroup();
    out.lineBreak();
}

FormatEntries::FormatEntries(const QTextDocument &document, StyleTables &tables)
    : m_formats(document.allFormats()), m_entries(size_t(m_formats.size())),
      m_paragraphs(size_t(m_formats.size())), m_tables(tables),
      m_indentWidth(document.indentWidth())
{
    const qreal points = document.defaultFont().pointSizeF();
    if (points > 0)
        m_defaultHalfPoints = toHalfPoints(points);
}

const FormatEntry &FormatEntries::operator[](int formatIndex)
{
    std::optional<FormatEntry> &entry = m_entries[size_t(formatIndex)];
    if (!entry)
        entry = compute(m_formats[formatIndex].toCharFormat());
    return *entry;
}

const ParagraphState &FormatEntries::paragraph(int formatIndex)
{
    std::optional<ParagraphState> &state = m_paragraphs[size_t(formatIndex)];
    if (!state)
        state = computeParagraph(m_formats[formatIndex].toBlockFormat());
    return *state;
}

FormatEntry FormatEntries::compute(const QTextCharFormat &format)
{
    if (format.isImageFormat())
        return {true, {}};
    CharState state;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        state.font = m_tables.font(families.front());
    const qreal points = format.fontPointSize();
    state.halfPoints = points > 0 ? toHalfPoints(points) : m_defaultHalfPoints;
    if (const std::optional<QRgb> rgb = brushColor(format.foreground()))
        state.foreground = m_tables.color(*rgb);
    if (const std::optional<QRgb> rgb = brushColor(format.background()))
        state.background = m_tables.color(*rgb);
    state.bold = format.fontWeight() >= QFont::DemiBold;
    state.italic = format.fontItalic();
    state.underline = format.fontUnderline();
    state.strike = format.fontStrikeOut();
    const QTextCharFormat::VerticalAlignment position = format.verticalAlignment();
    if (position == QTextCharFormat::AlignSuperScript)
        state.position = Position::Super;
    else if (position == QTextCharFormat::AlignSubScript)
        state.position = Position::Sub;
    if (format.hasProperty(QTextFormat::FontCapitalization)) {
        const QFont::Capitalization capitals = format.fontCapitalization();
        if (capitals == QFont::AllUppercase)
            state.capitals = Capitals::All;
        else if (capitals == QFont::SmallCaps)
            state.capitals = Capitals::Small;
    }
    return {false, state};
}

ParagraphState FormatEntries::computeParagraph(const QTextBlockFormat &format) const
{
    ParagraphState state;
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        state.alignment = "qc";
    else if (alignment & Qt::AlignJustify)
        state.alignment = "qj";
    else if (alignment & Qt::AlignRight)
        state.alignment = "qr";
    state.leftIndent = toRtfLength(format.leftMargin() + m_indentWidth * format.indent());
    state.rightIndent = toRtfLength(format.rightMargin());
    state.firstLineIndent = toRtfLength(format.textIndent());
    state.spaceBefore = toRtfLength(format.topMargin());
    state.spaceAfter = toRtfLength(format.bottomMargin());
    state.tabs = tabStops(format.tabPositions());
    return state;
}

} // namespace fosdat::rtf::writer
