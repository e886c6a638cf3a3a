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
    m_builder.finish();
    if (m_paragraphs.paragraphs().empty())
        return;
    text.closeParagraph();
    text.endParagraph({chars, separatorFormat()});
    for (const Paragraphs::Paragraph &paragraph : m_paragraphs.paragraphs()) {
        for (const Paragraphs::Run &run : paragraph.runs) {
            if (run.text.isEmpty()) {
                text.insertImage(run.format.toImageFormat(), paragraph.formats);
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
