#include "RtfWriter.h"

#include "RtfLimits.h"
#include "RtfOutput.h"
#include "RtfWordBreaks.h"
#include "RtfWriterStyles.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextFrame>
#include <QUrl>
#include <vector>

namespace fosdat::rtf
{

namespace
{

using namespace writer;

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
        const int length = block.length(); // with its separator
        if (length > 1) {                  // an empty block's fragments are not worth the look-up
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                if (const QTextFragment fragment = it.fragment(); fragment.isValid())
                    runs.push_back({fragment.charFormatIndex(), fragment.length()});
            }
        }
        paragraphs.push_back({block.blockFormatIndex(), position, runs.size()});
        return position + length;
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

// The size an image is shown at: as the format gives it, a missing side
// following the image's aspect ratio, as the document lays it out.
QSizeF displaySize(const QTextImageFormat &format, QSize image)
{
    qreal width = format.width();
    qreal height = format.height();
    if (width <= 0 && height <= 0)
        return image;
    if (width <= 0)
        width = height * image.width() / image.height();
    else if (height <= 0)
        height = width * image.height() / image.width();
    return {width, height};
}

// A display length as RTF states it: a goal length within what a reader takes,
// and a scale in percent for a longer one.
struct ScaledLength {
    int goal = 0;
    int scale = 100;
};

// The scale is the smallest one that gives the length exactly, where one does.
ScaledLength scaledLength(qreal pixels)
{
    constexpr qint64 MaxGoal = limits::MaxRtfLength;
    constexpr qint64 MaxLength = MaxGoal * limits::MaxPictureScale / 100;
    if (qIsNaN(pixels))
        return {};
    const qint64 length =
        std::clamp(qRound64(pixels * units::RtfLengthPerPixel), qint64(0), MaxLength);
    if (length <= MaxGoal)
        return {int(length), 100};
    const int least = int((length * 100 + MaxGoal - 1) / MaxGoal);
    for (int scale = least; scale <= limits::MaxPictureScale; ++scale) {
        if (length * 100 % scale == 0)
            return {int(length * 100 / scale), scale};
    }
    return {int(length * 100 / least), least};
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
            writeParagraphStart(m_formats.paragraph(paragraph.format));
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
        if (m_formats.format(formatIndex).hasProperty(WordBreakProperty))
            return; // the reader's break in an over-long word, not the file's text
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

    void writeParagraphStart(const ParagraphState &state)
    {
        m_out.word("pard");
        if (!state.alignment.empty())
            m_out.word(state.alignment);
        writeLength("li", state.leftIndent);
        writeLength("ri", state.rightIndent);
        writeLength("fi", state.firstLineIndent);
        writeLength("sb", state.spaceBefore);
        writeLength("sa", state.spaceAfter);
        for (const TabStop &tab : state.tabs) {
            if (!tab.kind.empty())
                m_out.word(tab.kind);
            m_out.word("tx", tab.position);
        }
    }

    void writeLength(std::string_view word, int length)
    {
        if (length != 0)
            m_out.word(word, length);
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
        toggle("caps", now.capitals == Capitals::All, next.capitals == Capitals::All);
        toggle("scaps", now.capitals == Capitals::Small, next.capitals == Capitals::Small);
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
        const QSizeF size = displaySize(format, image.size());
        const ScaledLength width = scaledLength(size.width());
        const ScaledLength height = scaledLength(size.height());
        m_out.openGroup();
        m_out.word("pict");
        m_out.word("pngblip");
        m_out.word("picw", image.width());
        m_out.word("pich", image.height());
        m_out.word("picwgoal", width.goal);
        m_out.word("pichgoal", height.goal);
        if (width.scale != 100)
            m_out.word("picscalex", width.scale);
        if (height.scale != 100)
            m_out.word("picscaley", height.scale);
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
    // First pass: the outline, and every font and color in use in the tables.
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
    if (const int tab = defaultTabLength(document); tab != units::DefaultTabLength) {
        out.word("deftab", tab);
        out.lineBreak();
    }
    DocumentWriter writer(document, formats, out);
    writer.write(outline);
    out.closeGroup();
    return out.take();
}

} // namespace fosdat::rtf
