#pragma once

#include <QByteArray>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextImageFormat>

namespace rtf
{

class DecoderCache;

// The formats in effect at a point of the input.
struct TextFormats {
    QTextCharFormat chars;
    QTextBlockFormat block;
};

// Fills a document through one cursor inside one edit block. Text is gathered
// into runs and inserted once per change of format; a paragraph break only
// marks a block as due, and the block is inserted before the next content, so
// the document neither starts nor ends with a stray empty paragraph.
class DocumentBuilder
{
public:
    DocumentBuilder(QTextDocument &document, DecoderCache &decoders);

    // Bytes of the given code page; consecutive bytes are decoded together.
    void appendBytes(QByteArrayView bytes, int codePage, const TextFormats &formats);
    // One UTF-16 code unit; surrogate pairs are joined, lone surrogates become U+FFFD.
    void appendUnit(char16_t unit, const TextFormats &formats);
    void insertImage(const QTextImageFormat &image, const TextFormats &formats);

    // Ends the paragraph; `formats` are those in effect at its end.
    void endParagraph(const TextFormats &formats);
    // Ends a table cell: the next text of the row is separated by a tab.
    void endCell();

    void finish();

private:
    void prepare(const TextFormats &formats);
    void startBlock(const TextFormats &formats);
    void decodeBytes();
    void resolveSurrogate();
    void flush();

    QTextCursor m_cursor;
    DecoderCache &m_decoders;
    QString m_run;               // decoded text not yet inserted
    QTextCharFormat m_runFormat; // the format of m_run
    QByteArray m_bytes;          // undecoded bytes that follow m_run
    int m_bytesCodePage = 0;
    QTextBlockFormat m_blockFormat; // the format given to the current block
    bool m_blockStarted = false;    // the current block has its formats
    bool m_breakDue = false;        // a paragraph ended; its successor is not inserted yet
    int m_cellsDue = 0;             // tabs owed to the next text of a table row
    char16_t m_highSurrogate = 0;   // a high surrogate waiting for its low half
};

} // namespace rtf
