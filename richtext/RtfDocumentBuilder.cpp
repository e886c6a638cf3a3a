#include "RtfDocumentBuilder.h"

#include "RtfCodePages.h"

#include <QTextDocument>

namespace fosdat::rtf
{

namespace
{

constexpr char16_t Replacement = 0xFFFD;

// Characters a QTextDocument gives a meaning of its own: paragraph and frame
// separators and the object marker. Text must not create structure behind the
// reader's back, so they become a line separator or U+FFFD.
void neutralize(QString &text)
{
    QChar *const end = text.data() + text.size();
    for (QChar *c = text.data(); c != end; ++c) {
        switch (c->unicode()) {
        case u'\r':
        case u'\n':
        case 0x2029: // paragraph separator
            *c = QChar::LineSeparator;
            break;
        case 0xFDD0: // beginning of frame
        case 0xFDD1: // end of frame
        case 0xFFFC: // object replacement
            *c = QChar(Replacement);
            break;
        default:
            break;
        }
    }
}

} // namespace

CursorTarget::CursorTarget(QTextDocument &document) : m_cursor(&document)
{
    m_cursor.beginEditBlock();
}

void CursorTarget::formatFirstBlock(const TextFormats &formats)
{
    m_cursor.setBlockFormat(formats.block);
    m_cursor.setBlockCharFormat(formats.chars);
}

void CursorTarget::setBlockFormat(const QTextBlockFormat &format)
{
    m_cursor.setBlockFormat(format);
}

void CursorTarget::insertBlock(const TextFormats &formats)
{
    m_cursor.insertBlock(formats.block, formats.chars);
}

void CursorTarget::insertText(const QString &text, const QTextCharFormat &format)
{
    m_cursor.insertText(text, format);
}

void CursorTarget::insertImage(const QTextImageFormat &image)
{
    m_cursor.insertImage(image);
}

void CursorTarget::finish()
{
    m_cursor.endEditBlock();
}

DocumentBuilder::DocumentBuilder(ContentTarget &target, DecoderCache &decoders)
    : m_target(target), m_decoders(decoders)
{
}

void DocumentBuilder::appendBytes(QByteArrayView bytes, int codePage, const TextFormats &formats)
{
    prepare(formats);
    resolveSurrogate();
    if (codePage != m_bytesCodePage) {
        decodeBytes();
        m_bytesCodePage = codePage;
    }
    m_bytes.append(bytes);
}

void DocumentBuilder::appendUnit(char16_t unit, const TextFormats &formats)
{
    prepare(formats);
    decodeBytes();
    if (QChar::isLowSurrogate(unit) && m_highSurrogate) {
        m_run.append(QChar(m_highSurrogate));
        m_run.append(QChar(unit));
        m_highSurrogate = 0;
        return;
    }
    resolveSurrogate();
    if (QChar::isHighSurrogate(unit))
        m_highSurrogate = unit;
    else
        m_run.append(QChar(QChar::isLowSurrogate(unit) ? Replacement : unit));
}

void DocumentBuilder::insertImage(const QTextImageFormat &image, const TextFormats &formats)
{
    prepare(formats);
    flush();
    m_target.insertImage(image);
}

void DocumentBuilder::endParagraph(const TextFormats &formats)
{
    flush();
    m_cellsDue = 0;
    if (m_breakDue) { // nothing since the last break: an empty paragraph
        m_target.insertBlock(formats);
        m_blockFormat = formats.block;
        return;
    }
    if (!m_blockStarted)
        startBlock(formats);
    else if (formats.block != m_blockFormat) {
        m_target.setBlockFormat(formats.block);
        m_blockFormat = formats.block;
    }
    m_breakDue = true;
}

void DocumentBuilder::closeParagraph()
{
    if (m_blockStarted && !m_breakDue)
        endParagraph({m_runFormat, m_blockFormat});
}

void DocumentBuilder::endCell()
{
    ++m_cellsDue;
}

void DocumentBuilder::finish()
{
    flush();
    m_target.finish();
}

// Makes the current block ready for content with `formats`.
void DocumentBuilder::prepare(const TextFormats &formats)
{
    if (m_breakDue) {
        m_target.insertBlock(formats);
        m_blockFormat = formats.block;
        m_breakDue = false;
    } else if (!m_blockStarted) {
        startBlock(formats);
    }
    if (formats.chars != m_runFormat) { // cheap while the format is shared
        flush();
        m_runFormat = formats.chars;
    }
    if (m_cellsDue > 0) {
        decodeBytes();
        m_run.append(QString(m_cellsDue, u'\t'));
        m_cellsDue = 0;
    }
}

// The first block exists already; it only takes the formats.
void DocumentBuilder::startBlock(const TextFormats &formats)
{
    m_target.formatFirstBlock(formats);
    m_blockFormat = formats.block;
    m_blockStarted = true;
}

void DocumentBuilder::decodeBytes()
{
    if (m_bytes.isEmpty())
        return;
    m_decoders.decodeAppend(m_bytes, m_bytesCodePage, m_run);
    m_bytes.resize(0);
}

void DocumentBuilder::resolveSurrogate()
{
    if (m_highSurrogate) {
        m_run.append(QChar(Replacement));
        m_highSurrogate = 0;
    }
}

void DocumentBuilder::flush()
{
    decodeBytes();
    resolveSurrogate();
    if (m_run.isEmpty())
        return;
    neutralize(m_run);
    m_target.insertText(m_run, m_runFormat);
    m_run.resize(0);
}

} // namespace fosdat::rtf
