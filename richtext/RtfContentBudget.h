#pragma once

#include "RtfFormats.h"
#include "RtfLimits.h"

#include <QChar>
#include <optional>

namespace fosdat::rtf
{

// Counts what a document is given against the caps of RtfLimits.h and
// estimates the height it will take in the view. It decides nothing about
// where content goes; the document builder asks it before adding anything.
//
// The paragraph's caps apply to every reading, so that the text-only reading
// breaks paragraphs and words where the document does; the document-wide caps
// (paragraphs, characters, height) only to a document a view lays out.
//
// The height of a paragraph is estimated without fonts: its margins, and its
// tallest line height once for every line, the lines being the line breaks
// and its characters at an average width over the width left by its indents,
// at most one line per character. A tab is as wide as the widest step between
// the paragraph's tab stops, up to a whole line where a stop lies far beyond
// its end.
class ContentBudget
{
public:
    // The document of a view that lays out at most `layoutHeight` pixels,
    // or, without one, the text alone, which no document-wide cap ends.
    explicit ContentBudget(std::optional<qreal> layoutHeight = std::nullopt);

    // A paragraph begins, in `block` with `chars` before any text. False,
    // with nothing counted, when the document has no room for it.
    bool beginParagraph(const BlockFormat &block, const CharFormat &chars);
    // A full paragraph is broken after its last place to break a line, and
    // the next begins. The units after that place, which the next paragraph
    // takes, with the changes of format among them; nothing when the
    // document has no room for another paragraph.
    std::optional<qsizetype> splitParagraph(const BlockFormat &block, const CharFormat &chars);
    // Whether one more empty paragraph in a row is kept; counts it when it is.
    bool keepEmptyParagraph();
    // The paragraph takes a new block format at its end. False, with the
    // estimate unchanged, when the document would then be too tall.
    bool reformatParagraph(const BlockFormat &block);

    // The character format changes before more content; false when the
    // document, or the stretch of it that this text is in, keeps no more
    // changes, and the text goes on in one format.
    bool changeFormat();
    // Whether the document keeps any more changes of format.
    bool keepsFormatChanges() const { return m_formatChanges < m_maxFormatChanges; }
    // The size of the text that follows.
    void setCharacters(const CharFormat &chars);
    // The distance of the tab stops beyond a paragraph's own, in pixels.
    void setTabDistance(qreal pixels);
    // One UTF-16 unit of text; false, with nothing counted, when the document
    // has no room for it.
    bool addUnit(QChar unit)
    {
        // Most units are letters that certainly fit, counted at once.
        const char16_t code = unit.unicode();
        if (m_sureUnits > 0 && code > u' ' && code < 0x7f && code != u'-' &&
            m_characters < m_maxCharacters) {
            --m_sureUnits;
            m_widthSum += m_unitWidth;
            ++m_paragraphUnits;
            ++m_characters;
            ++m_wordLetters;
            m_emptyRun = 0;
            return true;
        }
        return addAnyUnit(unit);
    }
    // A picture `height` pixels tall; false when the document has no room for it.
    bool addPicture(qreal height);

    // The paragraph has as many characters and tabs, or format changes, as it may have.
    bool paragraphFullOfText() const
    {
        return m_paragraphUnits >= limits::MaxParagraphCharacters ||
               m_paragraphTabs >= limits::MaxParagraphTabs || m_paragraphTall;
    }
    bool paragraphFullOfChanges() const
    {
        return m_paragraphChanges >= limits::MaxParagraphFormatChanges;
    }
    // The estimated height of the paragraphs before the current one, and of all.
    qreal closedHeight() const { return m_closedHeight; }
    qreal height() const { return m_closedHeight + paragraphHeight(); }
    // So many letters in a row without a place to break a line that one must be put in.
    bool wordFull() const { return m_wordLetters >= limits::MaxWordLetters; }

private:
    struct Shape {
        qreal margins = 0;   // above and below
        qreal lineWidth = 1; // left by the indents
        qreal tabWidth = 1;  // of the widest tab
    };
    Shape shapeOf(const BlockFormat &block);
    Shape computeShape(const BlockFormat &block) const;
    bool addAnyUnit(QChar unit);
    bool startParagraph(const BlockFormat &block, const CharFormat &chars, qsizetype carried,
                        int carriedChanges);
    void passBreak();
    qreal paragraphHeight(const Shape &shape, qreal tallestLine, qsizetype units,
                          qreal widthSum) const;
    qreal paragraphHeight() const;
    bool fits(qreal paragraphHeight) const;
    qsizetype sureUnits() const;

    // The document-wide caps: those of RtfLimits.h, or none for the text alone.
    qreal m_maxHeight;
    qint64 m_maxCharacters;
    int m_maxParagraphs;
    int m_maxFormatChanges;

    // The document so far.
    int m_paragraphs = 0;
    int m_formatChanges = 0;
    qreal m_stretchStart = 0; // the height where the stretch of format changes began
    int m_stretchChanges = 0;
    int m_emptyRun = 0;
    qint64 m_characters = 0;
    qreal m_closedHeight = 0;  // of the paragraphs before the current one
    qsizetype m_sureUnits = 0; // of text that fit without working out the height

    // The current paragraph.
    int m_paragraphChanges = 0;
    qsizetype m_paragraphUnits = 0;
    int m_paragraphTabs = 0;
    bool m_paragraphTall = false; // as tall as a paragraph may be
    qsizetype m_lineBreaks = 0;
    Shape m_shape;
    qreal m_tallestLine = 0;
    qreal m_widthSum = 0;  // of its characters, at their average width
    qreal m_pictures = 0;  // heights of its pictures
    int m_wordLetters = 0; // since the last place a line can break
    int m_wordChanges = 0; // of format, since that place

    // The text that follows.
    CharFormat m_chars; // of the text that follows
    qreal m_lineHeight = 0;
    qreal m_unitWidth = 0;

    qreal m_tabDistance;

    // The last block format's shape, as paragraphs mostly share one.
    BlockFormat m_shapedBlock;
    Shape m_lastShape;
};

} // namespace fosdat::rtf
