#pragma once

#include "RtfContentBudget.h"

#include <QByteArray>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <functional>
#include <optional>

namespace fosdat::rtf
{

class DecoderCache;

// The formats in effect at a point of the input.
struct TextFormats {
    QTextCharFormat chars;
    QTextBlockFormat block;
};

// Where the builder's content goes.
class ContentTarget
{
public:
    virtual ~ContentTarget() = default;

    // Gives the first block, which exists from the start, its formats.
    virtual void formatFirstBlock(const TextFormats &formats) = 0;
    virtual void setBlockFormat(const QTextBlockFormat &format) = 0;
    virtual void insertBlock(const TextFormats &formats) = 0;
    // Breaks the current block `units` before its end; the new block takes `formats`.
    virtual void splitBlock(qsizetype units, const TextFormats &formats) = 0;
    virtual void insertText(const QString &text, const QTextCharFormat &format) = 0;
    virtual void insertImage(const QTextImageFormat &image) = 0;
    virtual void finish() {}
};

// A document, filled through one cursor inside one edit block.
class CursorTarget final : public ContentTarget
{
public:
    explicit CursorTarget(QTextDocument &document);

    void formatFirstBlock(const TextFormats &formats) override;
    void setBlockFormat(const QTextBlockFormat &format) override;
    void insertBlock(const TextFormats &formats) override;
    void splitBlock(qsizetype units, const TextFormats &formats) override;
    void insertText(const QString &text, const QTextCharFormat &format) override;
    void insertImage(const QTextImageFormat &image) override;
    void finish() override;

private:
    QTextCursor m_cursor;
};

// The text alone, paragraphs ended by '\n' but the last, pictures left out:
// what a converter to plain text needs, without the cost of a document.
class PlainTextTarget final : public ContentTarget
{
public:
    void formatFirstBlock(const TextFormats &) override {}
    void setBlockFormat(const QTextBlockFormat &) override {}
    void insertBlock(const TextFormats &) override { m_text += u'\n'; }
    void splitBlock(qsizetype units, const TextFormats &) override
    {
        m_text.insert(m_text.size() - units, u'\n');
    }
    void insertText(const QString &text, const QTextCharFormat &) override { m_text += text; }
    void insertImage(const QTextImageFormat &) override {}

    QString &text() { return m_text; }

private:
    QString m_text;
};

// Fills a target, usually a document. Text is gathered into runs and inserted
// once per change of format; a paragraph break only marks a block as due, and
// the block is inserted before the next content, so the document neither
// starts nor ends with a stray empty paragraph.
//
// The caps of RtfLimits.h apply as content arrives: a zero-width space goes
// after every MaxWordLetters letters in a row, a full paragraph is broken in
// two after its last space, surplus empty paragraphs are dropped, and past
// MaxDocumentFormatChanges the text goes on in the plain format. A document
// for a view ends where the view can lay out no more: nothing more is added,
// the characters given after that are counted, and finish() may close it
// with a paragraph that says how many were shown. What is broken where
// depends on the text and the caps alone, never on how the text falls into
// runs, so the text-only reading gives the same text, and all of it.
class DocumentBuilder
{
public:
    // `layoutHeight`: the height the view can lay out (ContentBudget), none
    // for the text alone. `plain` is the format the text goes on in once the
    // document keeps no more changes; it is read then, not copied now.
    DocumentBuilder(ContentTarget &target, DecoderCache &decoders, const QTextCharFormat &plain,
                    std::optional<qreal> layoutHeight);

    // Bytes of the given code page; consecutive bytes are decoded together.
    void appendBytes(QByteArrayView bytes, int codePage, const TextFormats &formats);
    // One UTF-16 code unit; surrogate pairs are joined, lone surrogates become U+FFFD.
    void appendUnit(char16_t unit, const TextFormats &formats);
    // A picture shown `height` pixels tall.
    void insertImage(const QTextImageFormat &image, const TextFormats &formats, qreal height);

    // Ends the paragraph; `formats` are those in effect at its end.
    void endParagraph(const TextFormats &formats);
    // Ends the paragraph being filled, if there is one, keeping its formats.
    void closeParagraph();
    // Ends a table cell: the next text of the row is separated by a tab.
    void endCell();
    // The distance of the tab stops beyond a paragraph's own, in pixels.
    void setTabDistance(qreal pixels) { m_budget.setTabDistance(pixels); }

    // Ends the document. When it was cut and `closingLine` is given, a last
    // paragraph in `closing` holds its text for the characters shown and
    // those given in all.
    void finish(const TextFormats &closing,
                const std::function<QString(qint64 shown, qint64 given)> &closingLine = {});

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
    void changeFormat(const QTextCharFormat &chars);
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
    const QTextCharFormat &m_plainFormat;
    QString m_run;               // decoded text not yet inserted
    QTextCharFormat m_runFormat; // the format of m_run
    QByteArray m_bytes;          // undecoded bytes that follow m_run
    int m_bytesCodePage = 0;
    QTextBlockFormat m_blockFormat; // the format given to the current block
    bool m_blockStarted = false;    // the current block has its formats
    bool m_breakDue = false;        // a paragraph ended; its successor is not inserted yet
    bool m_blockEmpty = false;      // nothing is in the current block yet
    int m_cellsDue = 0;             // tabs owed to the next text of a table row
    char16_t m_highSurrogate = 0;   // a high surrogate waiting for its low half
    bool m_plainOnly = false;       // no more changes of format are kept
    bool m_partlyPlain = false;     // some were not
    bool m_cut = false;
    qint64 m_shownUnits = 0;
    qint64 m_leftOutUnits = 0; // given after the document was full
};

} // namespace fosdat::rtf
