#pragma once

#include "RtfContentBudget.h"
#include "RtfFormats.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace fosdat::rtf
{

class DecoderCache;
struct Picture;

// Where the builder's content goes.
class ContentTarget
{
public:
    virtual ~ContentTarget() = default;

    // Gives the first block, which exists from the start, its formats.
    virtual void formatFirstBlock(const TextFormats &formats) = 0;
    virtual void setBlockFormat(const BlockFormat &format) = 0;
    virtual void insertBlock(const TextFormats &formats) = 0;
    // Breaks the current block `units` before its end; the new block takes `formats`.
    virtual void splitBlock(qsizetype units, const TextFormats &formats) = 0;
    virtual void insertText(const QString &text, const CharFormat &format) = 0;
    virtual void insertPicture(const Picture &picture) = 0;
    // The distance of the tab stops beyond a paragraph's own, in pixels.
    virtual void setTabDistance(qreal) {}
    // The estimated top, in pixels at the document's own sizes, of the
    // paragraph just begun; before finish(), of the place one more would
    // begin: the document's height.
    virtual void placeParagraph(qreal) {}
    virtual void finish() {}
};

// Fills a target, usually a document. Text is gathered into runs and inserted
// once per change of format; a paragraph break only marks a block as due, and
// the block is inserted before the next content, so the document neither
// starts nor ends with a stray empty paragraph.
//
// The caps of RtfLimits.h apply as content arrives: a zero-width space goes
// after every MaxWordLetters letters in a row, a full paragraph is broken in
// two after its last space or once it is as tall as a paragraph may be,
// surplus empty paragraphs are dropped, and in a document laid out whole,
// past MaxDocumentFormatChanges the text goes on in the plain format. Such a
// document ends where the view can lay out no more: nothing more is added,
// and the characters given after that are counted. What is broken where
// depends on the text and the caps alone, never on how the text falls into
// runs, so the text-only reading gives the same text, and all of it.
class DocumentBuilder
{
public:
    // `layoutHeight`: the height the view can lay out (ContentBudget), none
    // for the text alone. `plain` is the format the text goes on in once the
    // document keeps no more changes; it is read then, not copied now.
    DocumentBuilder(ContentTarget &target, DecoderCache &decoders, const CharFormat &plain,
                    std::optional<qreal> layoutHeight);

    // Bytes of the given code page; consecutive bytes are decoded together.
    void appendBytes(QByteArrayView bytes, int codePage, const TextFormats &formats);
    // One UTF-16 code unit; surrogate pairs are joined, lone surrogates become U+FFFD.
    void appendUnit(char16_t unit, const TextFormats &formats);
    void insertPicture(const Picture &picture, const TextFormats &formats);

    // Ends the paragraph; `formats` are those in effect at its end.
    void endParagraph(const TextFormats &formats);
    // Ends the paragraph being filled, if there is one, keeping its formats.
    void closeParagraph();
    // Ends a table cell: the next text of the row is separated by a tab.
    void endCell();
    // The distance of the tab stops beyond a paragraph's own, in pixels.
    void setTabDistance(qreal pixels)
    {
        m_budget.setTabDistance(pixels);
        m_target.setTabDistance(pixels);
    }

    // Ends the document.
    void finish();

    // Whether the document is full: whatever else is given is left out.
    bool isCut() const { return m_cut; }
    // Whether some of the text is in the plain format where the file gives
    // it another: the document, or a stretch of it, kept no more changes.
    bool isPartlyPlain() const { return m_partlyPlain; }
    // Characters of text (UTF-16 units; paragraph ends, pictures and the
    // reader's word breaks not counted) in the document, and given in all.
    qint64 shownCharacters() const { return m_shownUnits; }
    qint64 givenCharacters() const { return m_shownUnits + m_leftOutUnits; }

private:
    void prepare(const TextFormats &formats);
    void changeFormat(const CharFormat &chars);
    bool startBlock(const TextFormats &formats);
    bool breakParagraph();
    void decodeBytes();
    void resolveSurrogate();
    void flush();
    void insertPartOfLongRun(qsizetype newBytes);
    qsizetype insertRun();
    void insertRunPart(qsizetype from, qsizetype to);
    bool insertWordBreak();
    void cut() { m_cut = true; }

    ContentTarget &m_target;
    DecoderCache &m_decoders;
    ContentBudget m_budget;
    const CharFormat &m_plainFormat;
    QString m_run;          // decoded text not yet inserted
    CharFormat m_runFormat; // the format of m_run
    QByteArray m_bytes;     // undecoded bytes that follow m_run
    int m_bytesCodePage = 0;
    BlockFormat m_blockFormat;    // the format given to the current block
    bool m_blockStarted = false;  // the current block has its formats
    bool m_breakDue = false;      // a paragraph ended; its successor is not inserted yet
    bool m_blockEmpty = false;    // nothing is in the current block yet
    int m_cellsDue = 0;           // tabs owed to the next text of a table row
    char16_t m_highSurrogate = 0; // a high surrogate waiting for its low half
    bool m_plainOnly = false;     // no more changes of format are kept
    bool m_partlyPlain = false;   // some were not
    bool m_cut = false;
    qint64 m_shownUnits = 0;
    qint64 m_leftOutUnits = 0; // given after the document was full
};

} // namespace fosdat::rtf
