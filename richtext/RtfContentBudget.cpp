#include "RtfContentBudget.h"

#include "RtfLimits.h"
#include "RtfUnits.h"

#include <algorithm>
#include <limits>

namespace fosdat::rtf
{

namespace
{

// Width in pixels of the text in the narrowest view a document is shown in:
// the catalogue view is 361 px wide, 330 of them for text.
constexpr qreal LineWidth = 320;
// Line height per em: the fonts in use have 1.15 to 1.2.
constexpr qreal LineSpacing = 1.25;
// Average width of a character per em; the widest common letters have 0.9,
// which the cap's margin below Qt's limit allows for.
constexpr qreal AverageWidth = 0.6;
constexpr qreal PixelsPerPoint = 96.0 / 72.0;
// The estimate cannot know the fonts: the document keeps to this part of the
// height the view can lay out.
constexpr qreal EstimateMargin = 2;
// Units that certainly fit are counted in batches of at most this many, so
// that a document without a height cap counts them as fast.
constexpr qreal MaxSureUnits = 1 << 30;

qreal emOf(const CharFormat &chars)
{
    const int halfPoints = chars.halfPoints > 0 ? chars.halfPoints : units::DefaultHalfPoints;
    return units::pointsFromHalfPoints(halfPoints) * PixelsPerPoint;
}

qreal lineHeightOf(const CharFormat &chars)
{
    return emOf(chars) * LineSpacing + 1;
}

// Spaces and hyphens, where Qt may break a line; no-break spaces are not among them.
bool breaksLine(QChar unit)
{
    switch (unit.unicode()) {
    case u'-':
    case 0x00AD: // soft hyphen
    case 0x200B: // zero-width space
        return true;
    case 0x00A0: // no-break space
    case 0x2007: // figure space
    case 0x202F: // narrow no-break space
        return false;
    default:
        return unit.isSpace();
    }
}

} // namespace

ContentBudget::ContentBudget(std::optional<qreal> layoutHeight)
    : m_maxHeight(layoutHeight ? *layoutHeight / EstimateMargin
                               : std::numeric_limits<qreal>::infinity()),
      m_maxCharacters(layoutHeight ? limits::MaxDocumentCharacters
                                   : std::numeric_limits<qint64>::max()),
      m_maxParagraphs(layoutHeight ? limits::MaxParagraphs : std::numeric_limits<int>::max()),
      m_maxFormatChanges(layoutHeight ? limits::MaxDocumentFormatChanges
                                      : std::numeric_limits<int>::max()),
      m_tabDistance(units::pixelsFromRtfLength(units::DefaultTabLength)),
      m_lastShape(computeShape(m_shapedBlock))
{
    setCharacters(CharFormat());
}

ContentBudget::Shape ContentBudget::shapeOf(const BlockFormat &block)
{
    if (block == m_shapedBlock)
        return m_lastShape;
    m_shapedBlock = block;
    m_lastShape = computeShape(block);
    return m_lastShape;
}

ContentBudget::Shape ContentBudget::computeShape(const BlockFormat &block) const
{
    // Negative spacing and indents are counted as none: the estimate only
    // ever errs towards a taller document.
    const auto positive = [](int length) {
        return units::pixelsFromRtfLength(std::max(length, 0));
    };
    Shape shape;
    shape.margins = positive(block.spaceBefore) + positive(block.spaceAfter);
    shape.lineWidth =
        std::max<qreal>(LineWidth - positive(block.leftIndent) - positive(block.rightIndent) -
                            positive(block.firstLineIndent),
                        1);
    // A tab reaches the next stop; where that lies beyond the line's end, it
    // takes the rest of the line and goes on from the next line's start.
    qreal step = m_tabDistance;
    qreal stop = 0;
    for (const TabStop &tab : block.tabStops) {
        const qreal position = units::pixelsFromRtfLength(tab.position);
        step = std::max(step, position - stop);
        stop = std::max(stop, position);
    }
    shape.tabWidth = std::min(step, shape.lineWidth);
    return shape;
}

// The paragraph's tallest line for each of its lines: the first, one after
// each line break, and one for each line width of its characters, but no more
// lines than characters.
qreal ContentBudget::paragraphHeight(const Shape &shape, qreal tallestLine, qsizetype units,
                                     qreal widthSum) const
{
    const qreal wrapped = std::min(qreal(units), widthSum / shape.lineWidth);
    return shape.margins + m_pictures + tallestLine * (1 + qreal(m_lineBreaks) + wrapped);
}

qreal ContentBudget::paragraphHeight() const
{
    return paragraphHeight(m_shape, m_tallestLine, m_paragraphUnits, m_widthSum);
}

bool ContentBudget::fits(qreal paragraphHeight) const
{
    return m_closedHeight + paragraphHeight <= m_maxHeight;
}

// How many more units of the current text certainly fit: none adds more than
// its tallest line, or the lines its width takes when that is more than one,
// to the paragraph's height. Checking each unit costs more than the reading.
qsizetype ContentBudget::sureUnits() const
{
    const qreal room =
        std::min(m_maxHeight - m_closedHeight, limits::MaxParagraphHeight) - paragraphHeight();
    const qreal perUnit = m_tallestLine * std::max<qreal>(1, m_unitWidth / m_shape.lineWidth);
    return room > perUnit ? qsizetype(std::min(room / perUnit, MaxSureUnits)) - 1 : 0;
}

bool ContentBudget::beginParagraph(const BlockFormat &block, const CharFormat &chars)
{
    if (!startParagraph(block, chars, 0, 0))
        return false;
    passBreak(); // a paragraph's end is a place to break
    return true;
}

std::optional<qsizetype> ContentBudget::splitParagraph(const BlockFormat &block,
                                                       const CharFormat &chars)
{
    // A paragraph without a place to break is broken at its end.
    const bool carry = m_wordLetters < m_paragraphUnits;
    const qsizetype carried = carry ? m_wordLetters : 0;
    if (!startParagraph(block, chars, carried, carry ? m_wordChanges : 0))
        return std::nullopt;
    if (!carry)
        passBreak();
    return carried;
}

void ContentBudget::passBreak()
{
    m_wordLetters = 0;
    m_wordChanges = 0;
}

bool ContentBudget::startParagraph(const BlockFormat &block, const CharFormat &chars,
                                   qsizetype carried, int carriedChanges)
{
    if (m_paragraphs >= m_maxParagraphs)
        return false;
    const qreal closed = m_paragraphs > 0 ? paragraphHeight() : 0;
    const Shape shape = shapeOf(block);
    const qreal tallest = lineHeightOf(chars);
    const qreal widthSum = qreal(carried) * m_unitWidth;
    m_closedHeight += closed;
    const qsizetype lineBreaks = std::exchange(m_lineBreaks, 0);
    const qreal pictures = std::exchange(m_pictures, 0);
    if (!fits(paragraphHeight(shape, tallest, carried, widthSum))) {
        m_closedHeight -= closed;
        m_lineBreaks = lineBreaks;
        m_pictures = pictures;
        return false;
    }
    ++m_paragraphs;
    m_paragraphChanges = carriedChanges;
    m_paragraphUnits = carried;
    m_paragraphTabs = 0; // the units carried follow the last tab
    m_paragraphTall = false;
    m_shape = shape;
    m_tallestLine = tallest;
    m_widthSum = widthSum;
    m_sureUnits = 0;
    return true;
}

bool ContentBudget::keepEmptyParagraph()
{
    if (m_emptyRun >= limits::MaxEmptyParagraphRun)
        return false;
    ++m_emptyRun;
    return true;
}

bool ContentBudget::reformatParagraph(const BlockFormat &block)
{
    const Shape shape = shapeOf(block);
    if (!fits(paragraphHeight(shape, m_tallestLine, m_paragraphUnits, m_widthSum)))
        return false;
    m_shape = shape;
    m_sureUnits = 0;
    return true;
}

bool ContentBudget::changeFormat()
{
    if (m_formatChanges >= m_maxFormatChanges)
        return false;
    if (m_closedHeight >= m_stretchStart + limits::FormatStretchHeight) {
        m_stretchStart = m_closedHeight;
        m_stretchChanges = 0;
    }
    if (m_stretchChanges >= limits::MaxStretchFormatChanges)
        return false;
    ++m_stretchChanges;
    ++m_formatChanges;
    ++m_paragraphChanges;
    ++m_wordChanges;
    return true;
}

void ContentBudget::setTabDistance(qreal pixels)
{
    m_tabDistance = pixels;
    m_lastShape = computeShape(m_shapedBlock);
}

void ContentBudget::setCharacters(const CharFormat &chars)
{
    if (chars == m_chars && m_unitWidth > 0)
        return;
    m_chars = chars;
    m_sureUnits = 0;
    m_lineHeight = lineHeightOf(chars);
    m_unitWidth = emOf(chars) * AverageWidth;
}

bool ContentBudget::addAnyUnit(QChar unit)
{
    if (m_characters >= m_maxCharacters)
        return false;
    const bool lineBreak = unit == QChar::LineSeparator;
    const bool tab = unit == u'\t';
    if (m_sureUnits > 0 && !lineBreak && !tab && m_lineHeight <= m_tallestLine) {
        --m_sureUnits;
        m_widthSum += m_unitWidth;
    } else {
        const qreal width = lineBreak ? 0 : tab ? m_shape.tabWidth : m_unitWidth;
        const qreal tallest = std::max(m_tallestLine, m_lineHeight);
        m_lineBreaks += lineBreak;
        if (!fits(paragraphHeight(m_shape, tallest, m_paragraphUnits + 1, m_widthSum + width))) {
            m_lineBreaks -= lineBreak;
            return false;
        }
        m_tallestLine = tallest;
        m_widthSum += width;
        m_paragraphTall = paragraphHeight() >= limits::MaxParagraphHeight;
        m_sureUnits = sureUnits();
    }
    ++m_paragraphUnits;
    m_paragraphTabs += tab;
    ++m_characters;
    m_emptyRun = 0;
    if (breaksLine(unit))
        passBreak();
    else
        ++m_wordLetters;
    return true;
}

bool ContentBudget::addPicture(qreal height)
{
    if (m_characters >= m_maxCharacters)
        return false;
    // A picture may take a line of its own; it is counted as one line width more.
    m_pictures += height;
    if (!fits(paragraphHeight(m_shape, m_tallestLine, m_paragraphUnits + 1,
                              m_widthSum + m_shape.lineWidth))) {
        m_pictures -= height;
        return false;
    }
    m_widthSum += m_shape.lineWidth;
    m_paragraphTall = paragraphHeight() >= limits::MaxParagraphHeight;
    m_sureUnits = 0;
    ++m_paragraphUnits;
    ++m_characters;
    m_emptyRun = 0;
    passBreak();
    return true;
}

} // namespace fosdat::rtf
