#include "RtfFootnotes.h"

#include "RtfUnits.h"

#include <algorithm>

namespace fosdat::rtf
{

namespace
{

// Space above the separating rule, in RTF length units (9 pt).
constexpr int SeparatorSpace = 180;

BlockFormat separatorFormat()
{
    BlockFormat format;
    format.spaceBefore = SeparatorSpace;
    format.rule = true;
    return format;
}

} // namespace

void Footnotes::setSize(CharFormat &chars)
{
    const int halfPoints = chars.halfPoints > 0 ? chars.halfPoints : units::DefaultHalfPoints;
    chars.halfPoints = std::max(1, halfPoints * 5 / 6);
}

void Footnotes::Paragraphs::setBlockFormat(const BlockFormat &format)
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
            tail.runs.insert(tail.runs.begin(), {last.text.right(units), last.format, {}});
            last.text.chop(units);
            units = 0;
        }
    }
    m_paragraphs.push_back(std::move(tail));
}

void Footnotes::Paragraphs::insertText(const QString &text, const CharFormat &format)
{
    m_paragraphs.back().runs.push_back({text, format, std::nullopt});
}

void Footnotes::Paragraphs::insertPicture(const Picture &picture)
{
    m_paragraphs.back().runs.push_back({QString(), CharFormat(), picture});
}

// The paragraphs go through the text's builder as the text's own did, so they
// are formatted and bounded alike.
void Footnotes::appendTo(DocumentBuilder &text, const CharFormat &chars)
{
    m_builder.finish();
    if (m_paragraphs.paragraphs().empty())
        return;
    text.closeParagraph();
    text.endParagraph({chars, separatorFormat()});
    for (const Paragraphs::Paragraph &paragraph : m_paragraphs.paragraphs()) {
        for (const Paragraphs::Run &run : paragraph.runs) {
            if (run.picture) {
                text.insertPicture(*run.picture, paragraph.formats);
                continue;
            }
            // The notes' own word breaks are not their text: the text's
            // builder puts in those its words need, as for any text.
            if (run.format.wordBreak)
                continue;
            const TextFormats formats{run.format, paragraph.formats.block};
            for (const QChar unit : run.text)
                text.appendUnit(unit.unicode(), formats);
        }
        text.endParagraph(paragraph.formats);
    }
}

} // namespace fosdat::rtf
