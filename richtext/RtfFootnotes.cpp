#include "RtfFootnotes.h"

#include "RtfUnits.h"

#include <QTextLength>
#include <algorithm>

namespace fosdat::rtf
{

namespace
{

// Space above the separating rule, in RTF length units (9 pt).
constexpr int SeparatorSpace = 180;

QTextBlockFormat separatorFormat()
{
    QTextBlockFormat format;
    format.setTopMargin(units::pixelsFromRtfLength(SeparatorSpace));
    format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                       QTextLength(QTextLength::PercentageLength, 100));
    return format;
}

} // namespace

void Footnotes::setSize(QTextCharFormat &chars)
{
    const qreal points = chars.fontPointSize() > 0
                             ? chars.fontPointSize()
                             : units::pointsFromHalfPoints(units::DefaultHalfPoints);
    chars.setFontPointSize(
        units::pointsFromHalfPoints(std::max(1, units::halfPointsFromPoints(points) * 5 / 6)));
}

void Footnotes::Paragraphs::setBlockFormat(const QTextBlockFormat &format)
{
    m_paragraphs.back().formats.block = format;
}

void Footnotes::Paragraphs::insertBlock(const TextFormats &formats)
{
    m_paragraphs.push_back({formats, {}});
}

// The runs of the last paragraph's final `units` (a picture is one) move to a new paragraph.
void Footnotes::Paragraphs::splitBlock(qsizetype units, const TextFormats &formats)
{
    Paragraph tail{formats, {}};
    std::vector<Run> &runs = m_paragraphs.back().runs;
    while (units > 0 && !runs.empty()) {
        Run &last = runs.back();
        const qsizetype size = last.text.isEmpty() ? 1 : last.text.size();
        if (size <= units) {
            tail.runs.insert(tail.runs.begin(), std::move(last));
            runs.pop_back();
            units -= size;
        } else {
            tail.runs.insert(tail.runs.begin(), {last.text.right(units), last.format});
            last.text.chop(units);
            units = 0;
        }
    }
    m_paragraphs.push_back(std::move(tail));
}

void Footnotes::Paragraphs::insertText(const QString &text, const QTextCharFormat &format)
{
    m_paragraphs.back().runs.push_back({text, format});
}

void Footnotes::Paragraphs::insertImage(const QTextImageFormat &image)
{
    m_paragraphs.back().runs.push_back({QString(), image});
}

// The paragraphs go through the text's builder as the text's own did, so they
// are formatted and bounded alike.
void Footnotes::appendTo(DocumentBuilder &text, const QTextCharFormat &chars)
{
    m_builder.finish({chars, QTextBlockFormat()});
    if (m_paragraphs.paragraphs().empty())
        return;
    text.closeParagraph();
    text.endParagraph({chars, separatorFormat()});
    for (const Paragraphs::Paragraph &paragraph : m_paragraphs.paragraphs()) {
        for (const Paragraphs::Run &run : paragraph.runs) {
            if (run.text.isEmpty()) {
                const QTextImageFormat image = run.format.toImageFormat();
                text.insertImage(image, paragraph.formats, image.height());
                continue;
            }
            const TextFormats formats{run.format, paragraph.formats.block};
            for (const QChar unit : run.text)
                text.appendUnit(unit.unicode(), formats);
        }
        text.endParagraph(paragraph.formats);
    }
}

} // namespace fosdat::rtf
