#pragma once

#include "RtfOutput.h"
#include "RtfUnits.h"

#include <QHash>
#include <QList>
#include <QRgb>
#include <QStringList>
#include <QTextDocument>
#include <QTextFormat>
#include <optional>
#include <string_view>
#include <vector>

// How the RTF writer states a document's formats: fonts and colors as table
// indices, character and paragraph properties as RTF holds them.
namespace fosdat::rtf::writer
{

inline constexpr int DefaultHalfPoints = units::DefaultHalfPoints;

enum class Position : unsigned char { Normal, Super, Sub };

enum class Capitals : unsigned char { None, All, Small };

// The character properties the writer carries, as RTF states them.
// Colors are color-table indices, 0 meaning "none given".
struct CharState {
    int font = 0;
    int halfPoints = DefaultHalfPoints;
    int foreground = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    Position position = Position::Normal;
    Capitals capitals = Capitals::None;
};

struct TabStop {
    std::string_view kind; // its control word; none for a left tab
    int position = 0;
};

// The paragraph properties the writer carries, lengths in RTF units (1/1440 inch).
struct ParagraphState {
    std::string_view alignment; // its control word; none for left alignment
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    std::vector<TabStop> tabs;
};

// Fonts and colors in order of first use; font 0 is the document's default.
class StyleTables
{
public:
    explicit StyleTables(const QString &defaultFamily) { font(defaultFamily); }

    int font(const QString &family);
    // Index in the color table, whose entry 0 is the automatic color.
    int color(QRgb rgb);
    void write(RtfOutput &out) const;

private:
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};

// What a format of the document writes as: a picture, or text in a
// character state.
struct FormatEntry {
    bool isImage = false;
    CharState state;
};

// The entry of each format of the document, computed once per format;
// computing it enters the format's font and colors in the tables.
class FormatEntries
{
public:
    FormatEntries(const QTextDocument &document, StyleTables &tables);

    const QTextFormat &format(int formatIndex) const { return m_formats[formatIndex]; }
    const FormatEntry &operator[](int formatIndex);
    const ParagraphState &paragraph(int formatIndex);

private:
    FormatEntry compute(const QTextCharFormat &format);
    ParagraphState computeParagraph(const QTextBlockFormat &format) const;

    const QList<QTextFormat> m_formats;
    std::vector<std::optional<FormatEntry>> m_entries;
    std::vector<std::optional<ParagraphState>> m_paragraphs;
    StyleTables &m_tables;
    qreal m_indentWidth = 0;
    int m_defaultHalfPoints = DefaultHalfPoints;
};

// Pixels at 96 dots per inch to RTF length units, kept within what a reader takes.
int toRtfLength(qreal pixels);

// The document's tab distance in RTF length units.
int defaultTabLength(const QTextDocument &document);

} // namespace fosdat::rtf::writer
