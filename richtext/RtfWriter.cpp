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
        : m_formats(document.allFormats()), m_entries(size_t(m_formats.size())), m_tables(tables)
    {
        const qreal points = document.defaultFont().pointSizeF();
        if (points > 0)
            m_defaultHalfPoints = std::max(1, qRound(std::min(points, MaxPointSize) * 2));
    }

    const FormatEntry &operator[](int formatIndex)
    {
        std::optional<FormatEntry> &entry = m_entries[size_t(formatIndex)];
        if (!entry)
            entry = compute(m_formats[formatIndex].toCharFormat());
        return *entry;
    }

private:
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
    StyleTables &m_tables;
    int m_defaultHalfPoints = DefaultHalfPoints;
};

// Calls visit(block) for every block of the document in order, the blocks
// of nested frames (table cells) included, flattened into the text.
template <typename Visit> void forEachBlock(const QTextDocument &document, Visit &&visit)
{
    std::vector<QTextFrame::iterator> frames{document.rootFrame()->begin()};
    while (!frames.empty()) {
        QTextFrame::iterator &it = frames.back();
        if (it.atEnd()) {
            frames.pop_back();
        } else if (QTextFrame *child = it.currentFrame()) {
            ++it;
            frames.push_back(child->begin());
        } else {
            visit(it.currentBlock());
            ++it;
        }
    }
}

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

    void writeBlock(const QTextBlock &block)
    {
        m_out.word("pard");
        writeBlockFormat(block.blockFormat());
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const FormatEntry &format = m_formats[fragment.charFormatIndex()];
            if (format.isImage) {
                const QTextImageFormat image = fragment.charFormat().toImageFormat();
                for (int i = 0; i < fragment.length(); ++i)
                    writePicture(image);
                continue;
            }
            switchTo(format.state);
            m_out.text(QStringView(m_text).mid(fragment.position(), fragment.length()));
        }
        m_out.word("par");
        m_out.lineBreak();
    }

private:
    void writeBlockFormat(const QTextBlockFormat &format)
    {
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            m_out.word("qc");
        else if (alignment & Qt::AlignJustify)
            m_out.word("qj");
        else if (alignment & Qt::AlignRight)
            m_out.word("qr");
        const qreal indentWidth = m_document.indentWidth() * format.indent();
        writeTwips("li", format.leftMargin() + indentWidth);
        writeTwips("ri", format.rightMargin());
        writeTwips("fi", format.textIndent());
        writeTwips("sb", format.topMargin());
        writeTwips("sa", format.bottomMargin());
    }

    void writeTwips(std::string_view word, qreal pixels)
    {
        if (const int twips = toTwips(pixels))
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
    // First pass: enter every font and colour in use in the tables.
    forEachBlock(document, [&](const QTextBlock &block) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (const QTextFragment fragment = it.fragment(); fragment.isValid())
                formats[fragment.charFormatIndex()];
        }
    });

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
    forEachBlock(document, [&](const QTextBlock &block) { writer.writeBlock(block); });
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
