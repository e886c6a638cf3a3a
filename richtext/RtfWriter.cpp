#include "RtfWriter.h"

#include "RtfOutput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextFrame>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <vector>

namespace rtf
{

namespace
{

// Positions and sizes are written in twips; the document measures them in
// pixels at 96 dots per inch.
constexpr double TwipsPerPixel = 15.0;
// RTF's font size when a document names none: 12 pt, in half points.
constexpr int DefaultHalfPoints = 24;
// Font sizes are kept to what a 16-bit half-point count can say.
constexpr double MaxPointSize = 16383.0;
// Twips are kept well inside 32 bits, which is all a reader takes.
constexpr double MaxTwips = 1.0e8;
// The font table's character set: Cyrillic.
constexpr int CyrillicCharset = 204;

enum class Position : unsigned char { Normal, Super, Sub };

// The character properties the writer carries, as RTF states them.
// Colours are colour-table indices, 0 meaning "none given".
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
};

// The paragraph properties the writer carries, lengths in twips.
struct ParagraphState {
    std::string_view alignment; // its control word; none for left alignment
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

// Fonts and colours in order of first use; font 0 is the document's default.
class StyleTables
{
public:
    explicit StyleTables(const QString &defaultFamily) { font(defaultFamily); }

    int font(const QString &family)
    {
        if (const auto it = m_fontIndex.constFind(family); it != m_fontIndex.cend())
            return *it;
        m_fonts.append(family);
        return *m_fontIndex.insert(family, int(m_fonts.size()) - 1);
    }
    // Index in the colour table, whose entry 0 is the automatic colour.
    int color(QRgb rgb)
    {
        if (const auto it = m_colorIndex.constFind(rgb); it != m_colorIndex.cend())
            return *it;
        m_colors.append(rgb);
        return *m_colorIndex.insert(rgb, int(m_colors.size()));
    }

    void write(RtfOutput &out) const
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

private:
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};

int toTwips(qreal pixels)
{
    return qRound(std::clamp(pixels * TwipsPerPixel, -MaxTwips, MaxTwips));
}

std::optional<QRgb> brushColor(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb() & RGB_MASK;
}

// What a format of the document writes as: a picture, or text in a
// character state.
struct FormatEntry {
    bool isImage = false;
    CharState state;
};

// The entry of each format of the document, computed once per format;
// computing it enters the format's font and colours in the tables.
class FormatEntries
{
public:
    FormatEntries(const QTextDocument &document, StyleTables &tables)
        : m_formats(document.allFormats()), m_entries(size_t(m_formats.size())),
          m_paragraphs(size_t(m_formats.size())), m_tables(tables)
    {
        m_indentWidth = document.indentWidth();
        const qreal points = document.defaultFont().pointSizeF();
        if (points > 0)
            m_defaultHalfPoints = std::max(1, qRound(std::min(points, MaxPointSize) * 2));
    }

    const QTextFormat &format(int formatIndex) const { return m_formats[formatIndex]; }

    const FormatEntry &operator[](int formatIndex)
    {
        std::optional<FormatEntry> &entry = m_entries[size_t(formatIndex)];
        if (!entry)
            entry = compute(m_formats[formatIndex].toCharFormat());
        return *entry;
    }

    const ParagraphState &paragraph(int formatIndex)
    {
        std::optional<ParagraphState> &state = m_paragraphs[size_t(formatIndex)];
        if (!state)
            state = computeParagraph(m_formats[formatIndex].toBlockFormat());
        return *state;
    }

private:
    ParagraphState computeParagraph(const QTextBlockFormat &format) const
    {
        ParagraphState state;
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            state.alignment = "qc";
        else if (alignment & Qt::AlignJustify)
            state.alignment = "qj";
        else if (alignment & Qt::AlignRight)
            state.alignment = "qr";
        state.leftIndent = toTwips(format.leftMargin() + m_indentWidth * format.indent());
        state.rightIndent = toTwips(format.rightMargin());
        state.firstLineIndent = toTwips(format.textIndent());
        state.spaceBefore = toTwips(format.topMargin());
        state.spaceAfter = toTwips(format.bottomMargin());
        return state;
    }

    FormatEntry compute(const QTextCharFormat &format)
    {
        if (format.isImageFormat())
            return {true, {}};
        CharState state;
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.front().isEmpty())
            state.font = m_tables.font(families.front());
        const qreal points = format.fontPointSize();
        state.halfPoints = points > 0 ? std::max(1, qRound(std::min(points, MaxPointSize) * 2))
                                      : m_defaultHalfPoints;
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
        return {false, state};
    }

    const QList<QTextFormat> m_formats;
    std::vector<std::optional<FormatEntry>> m_entries;
    std::vector<std::optional<ParagraphState>> m_paragraphs;
    StyleTables &m_tables;
    qreal m_indentWidth = 0;
    int m_defaultHalfPoints = DefaultHalfPoints;
};

// The document as the first pass finds it: its paragraphs in order, those of
// nested frames (table cells) flattened into the text, each with its runs of
// one format. The second pass walks this instead of the document, whose
// fragment positions cost a tree walk each.
struct Outline {
    struct Run {
        int format;
        int length;
    };
    struct Paragraph {
        int format;
        int position;
        size_t runsEnd; // its runs end here in `runs`
    };

    explicit Outline(const QTextDocument &document)
    {
        paragraphs.reserve(size_t(document.blockCount()));
        std::vector<QTextFrame::iterator> frames{document.rootFrame()->begin()};
        int position = 0; // of the next block, unless a frame boundary lies between
        while (!frames.empty()) {
            QTextFrame::iterator &it = frames.back();
            if (it.atEnd()) {
                frames.pop_back();
                position = -1;
            } else if (QTextFrame *child = it.currentFrame()) {
                ++it;
                frames.push_back(child->begin());
                position = -1;
            } else {
                const QTextBlock block = it.currentBlock();
                position = add(block, position < 0 ? block.position() : position);
                ++it;
            }
        }
    }

    // Adds a block at `position`; returns the position that follows it.
    int add(const QTextBlock &block, int position)
    {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (const QTextFragment fragment = it.fragment(); fragment.isValid())
                runs.push_back({fragment.charFormatIndex(), fragment.length()});
        }
        paragraphs.push_back({block.blockFormatIndex(), position, runs.size()});
        return position + block.length();
    }

    std::vector<Paragraph> paragraphs;
    std::vector<Run> runs;
};

QImage resourceImage(const QTextDocument &document, const QString &name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return {};
    }
}

QByteArray encodePng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The second pass: the document's blocks, with their formats written as
// changes from the running state.
class DocumentWriter
{
public:
    DocumentWriter(const QTextDocument &document, FormatEntries &formats, RtfOutput &out)
        : m_document(document), m_text(document.toRawText()), m_formats(formats), m_out(out)
    {
    }

    void write(const Outline &outline)
    {
        size_t run = 0;
        for (const Outline::Paragraph &paragraph : outline.paragraphs) {
            m_out.word("pard");
            writeParagraphState(m_formats.paragraph(paragraph.format));
            int position = paragraph.position;
            for (; run < paragraph.runsEnd; ++run) {
                const Outline::Run &r = outline.runs[run];
                writeRun(r.format, QStringView(m_text).mid(position, r.length));
                position += r.length;
            }
            m_out.word("par");
            m_out.lineBreak();
        }
    }

private:
    void writeRun(int formatIndex, QStringView text)
    {
        const FormatEntry &format = m_formats[formatIndex];
        if (!format.isImage) {
            switchTo(format.state);
            m_out.text(text);
            return;
        }
        const QTextImageFormat image = m_formats.format(formatIndex).toImageFormat();
        for (qsizetype i = 0; i < text.size(); ++i)
            writePicture(image);
    }

    void writeParagraphState(const ParagraphState &state)
    {
        if (!state.alignment.empty())
            m_out.word(state.alignment);
        writeLength("li", state.leftIndent);
        writeLength("ri", state.rightIndent);
        writeLength("fi", state.firstLineIndent);
        writeLength("sb", state.spaceBefore);
        writeLength("sa", state.spaceAfter);
    }

    void writeLength(std::string_view word, int twips)
    {
        if (twips != 0)
            m_out.word(word, twips);
    }

    void switchTo(const CharState &next)
    {
        CharState &now = m_state;
        if (next.font != now.font)
            m_out.word("f", next.font);
        if (next.halfPoints != now.halfPoints)
            m_out.word("fs", next.halfPoints);
        toggle("b", now.bold, next.bold);
        toggle("i", now.italic, next.italic);
        if (next.underline != now.underline)
            m_out.word(next.underline ? "ul" : "ulnone");
        toggle("strike", now.strike, next.strike);
        if (next.foreground != now.foreground)
            m_out.word("cf", next.foreground);
        if (next.background != now.background)
            m_out.word("highlight", next.background);
        if (next.position != now.position) {
            m_out.word(next.position == Position::Super ? "super"
                       : next.position == Position::Sub ? "sub"
                                                        : "nosupersub");
        }
        now = next;
    }

    void toggle(std::string_view word, bool now, bool next)
    {
        if (now == next)
            return;
        if (next)
            m_out.word(word);
        else
            m_out.word(word, 0);
    }

    void writePicture(const QTextImageFormat &format)
    {
        const QImage image = resourceImage(m_document, format.name());
        if (image.isNull())
            return; // nothing to show, nothing to save
        auto png = m_pictures.find(format.name());
        if (png == m_pictures.end())
            png = m_pictures.insert(format.name(), encodePng(image));
        const qreal width = format.width() > 0 ? format.width() : image.width();
        const qreal height = format.height() > 0 ? format.height() : image.height();
        m_out.openGroup();
        m_out.word("pict");
        m_out.word("pngblip");
        m_out.word("picw", image.width());
        m_out.word("pich", image.height());
        m_out.word("picwgoal", toTwips(width));
        m_out.word("pichgoal", toTwips(height));
        m_out.hex(*png);
        m_out.closeGroup();
    }

    const QTextDocument &m_document;
    const QString m_text; // the whole text, sliced by fragment positions
    FormatEntries &m_formats;
    RtfOutput &m_out;
    CharState m_state;                     // what a reader holds at this point of the output
    QHash<QString, QByteArray> m_pictures; // encoded once per image
};

} // namespace

QByteArray write(const QTextDocument &document)
{
    StyleTables tables(document.defaultFont().family());
    FormatEntries formats(document, tables);
    // First pass: the outline, and every font and colour in use in the tables.
    const Outline outline(document);
    for (const Outline::Run &run : outline.runs)
        formats[run.format];

    RtfOutput out(document.characterCount() * 3 + 1024);
    out.openGroup();
    out.word("rtf", 1);
    out.word("ansi");
    out.word("ansicpg", 1251);
    out.word("deff", 0);
    out.word("uc", 1);
    out.lineBreak();
    tables.write(out);
    DocumentWriter writer(document, formats, out);
    writer.write(outline);
    out.closeGroup();
    return out.take();
}

SaveResult saveBytes(const QByteArray &bytes, const QString &path)
{
    // A new file renamed over a device, FIFO or socket would take its place
    // (or, for a FIFO, the write could block): such targets are refused.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return {false, QCoreApplication::translate("rtf", "Not a regular file")};
    QSaveFile file(path);
    // Unbuffered, so that a short write shows here and not only when commit()
    // flushes, which would go unnoticed and replace the old file with a
    // truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    // A write that stops short (a full disk, a file size limit) goes on with
    // the rest, which then fails with the reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        done += written;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace rtf
