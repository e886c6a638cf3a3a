#include "RtfDocumentBuilder.h"

#include "RtfCodePages.h"
#include "RtfPicture.h"

namespace fosdat::rtf
{

namespace
{

constexpr char16_t Replacement = 0xFFFD;
constexpr char16_t ZeroWidthSpace = 0x200B;

// Units of a run, decoded or not, past which it is inserted before it ends.
constexpr qsizetype LongRun = 1 << 16;

// The end of the longest start of `bytes` that can be decoded by itself: up
// to the last byte of white space or control among the `newBytes` at the
// end. Such a byte is a character of its own in every known code page, never
// part of one.
qsizetype decodableEnd(const QByteArray &bytes, qsizetype newBytes)
{
    for (qsizetype at = bytes.size(); at > bytes.size() - newBytes; --at) {
        if (uchar(bytes.at(at - 1)) <= 0x20)
            return at;
    }
    return 0;
}

// Characters a QTextDocument gives a meaning of its own: paragraph and frame
// separators and the object marker. Text must not create structure behind the
// reader's back, so they become a line separator or U+FFFD.
void neutralize(QString &text)
{
    QChar *const end = text.data() + text.size();
    for (QChar *c = text.data(); c != end; ++c) {
        switch (c->unicode()) {
        // A carriage return or line feed written as a character of the text
        // is a blank: paragraphs and lines end only where the file says so,
        // and a stray one inside a genus entry would cut it in two.
        case u'\r':
        case u'\n':
            *c = u' ';
            break;
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

DocumentBuilder::DocumentBuilder(ContentTarget &target, DecoderCache &decoders,
                                 const CharFormat &plain, std::optional<qreal> layoutHeight)
    : m_target(target), m_decoders(decoders), m_budget(layoutHeight), m_plainFormat(plain)
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
    insertPartOfLongRun(bytes.size());
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
    insertPartOfLongRun(0);
}

void DocumentBuilder::insertPicture(const Picture &picture, const TextFormats &formats)
{
    prepare(formats);
    flush();
    if (m_cut)
        return;
    if (!m_budget.addPicture(picture.shownHeight()))
        return cut();
    m_target.insertPicture(picture);
    m_blockEmpty = false;
}

void DocumentBuilder::endParagraph(const TextFormats &formats)
{
    flush();
    if (m_cut)
        return;
    m_cellsDue = 0;
    if (m_breakDue) { // nothing since the last break: an empty paragraph
        if (!m_budget.keepEmptyParagraph())
            return;
        if (!m_budget.beginParagraph(formats.block, formats.chars))
            return cut();
        m_target.insertBlock(formats);
        m_target.placeParagraph(m_budget.closedHeight());
        m_blockFormat = formats.block;
        m_blockEmpty = true;
        return;
    }
    if (!m_blockStarted) {
        if (!startBlock(formats))
            return;
    } else if (formats.block != m_blockFormat && m_budget.reformatParagraph(formats.block)) {
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
    m_target.placeParagraph(m_budget.height());
    m_target.finish();
}

// Makes the current block ready for content with `formats`. Once the
// document is full, the content only goes on to be counted.
void DocumentBuilder::prepare(const TextFormats &formats)
{
    if (m_breakDue && !m_cut) {
        if (m_budget.beginParagraph(formats.block, formats.chars)) {
            m_target.insertBlock(formats);
            m_target.placeParagraph(m_budget.closedHeight());
            m_blockFormat = formats.block;
            m_blockEmpty = true;
            m_breakDue = false;
        } else {
            cut();
        }
    } else if (!m_blockStarted && !m_cut) {
        startBlock(formats);
    }
    if (!m_cut && !m_plainOnly && formats.chars != m_runFormat) // cheap while the format is shared
        changeFormat(formats.chars);
    if (m_cellsDue > 0) {
        decodeBytes();
        m_run.append(QString(m_cellsDue, u'\t'));
        m_cellsDue = 0;
    }
}

// The text that follows takes `chars`, or the plain format where the stretch
// of the document it is in keeps no more changes, and from where the document
// keeps none on.
void DocumentBuilder::changeFormat(const CharFormat &chars)
{
    flush();
    if (m_cut || (m_budget.paragraphFullOfChanges() && !breakParagraph()))
        return;
    if (m_budget.changeFormat()) {
        m_runFormat = chars;
        return;
    }
    m_partlyPlain = true;
    m_plainOnly = !m_budget.keepsFormatChanges();
    m_runFormat = m_plainFormat;
}

// The first block exists already; it only takes the formats.
bool DocumentBuilder::startBlock(const TextFormats &formats)
{
    if (!m_budget.beginParagraph(formats.block, formats.chars)) {
        cut();
        return false;
    }
    m_target.formatFirstBlock(formats);
    m_target.placeParagraph(m_budget.closedHeight());
    m_blockFormat = formats.block;
    m_blockStarted = true;
    m_blockEmpty = true;
    return true;
}

// Ends a full paragraph after its last place to break a line and begins the
// next in the same formats; false when the document is full.
bool DocumentBuilder::breakParagraph()
{
    const std::optional<qsizetype> carried = m_budget.splitParagraph(m_blockFormat, m_runFormat);
    if (!carried) {
        cut();
        return false;
    }
    m_target.splitBlock(*carried, {m_runFormat, m_blockFormat});
    m_target.placeParagraph(m_budget.closedHeight());
    m_blockEmpty = *carried == 0;
    return true;
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

// Inserts the run as far as the document has room for it; the rest is counted.
void DocumentBuilder::flush()
{
    decodeBytes();
    resolveSurrogate();
    if (m_run.isEmpty())
        return;
    const qsizetype inserted = m_cut ? 0 : insertRun();
    m_leftOutUnits += m_run.size() - inserted;
    m_run.resize(0);
}

// Inserts the start of a long run that ends at a character boundary: the
// decoded text, and the bytes up to the last white space among the
// `newBytes` just appended; the others wait. So does a high surrogate, for
// its other half.
void DocumentBuilder::insertPartOfLongRun(qsizetype newBytes)
{
    if (m_run.size() + m_bytes.size() < LongRun || m_highSurrogate)
        return;
    const qsizetype end = decodableEnd(m_bytes, newBytes);
    if (end > 0) {
        m_decoders.decodeAppend(QByteArrayView(m_bytes).first(end), m_bytesCodePage, m_run);
        m_bytes.remove(0, end);
    }
    QByteArray rest = std::exchange(m_bytes, QByteArray());
    flush();
    m_bytes = std::move(rest);
}

// Inserts the run as far as the document has room for it, breaking long
// words and full paragraphs on the way, and gives the units inserted. A
// surrogate pair is never split.
qsizetype DocumentBuilder::insertRun()
{
    neutralize(m_run);
    m_budget.setCharacters(m_runFormat);
    qsizetype start = 0; // the first unit not inserted yet
    for (qsizetype at = 0; at < m_run.size(); ++at) {
        const QChar unit = m_run.at(at);
        if (m_budget.paragraphFullOfText() && !unit.isLowSurrogate()) {
            insertRunPart(start, at);
            start = at;
            if (!breakParagraph())
                return at;
        }
        if (!m_budget.addUnit(unit)) {
            const qsizetype end = unit.isLowSurrogate() && at > start ? at - 1 : at;
            insertRunPart(start, end);
            cut();
            return end;
        }
        if (m_budget.wordFull() && !unit.isHighSurrogate()) {
            insertRunPart(start, at + 1);
            start = at + 1;
            if (!insertWordBreak())
                return start;
        }
    }
    insertRunPart(start, m_run.size());
    return m_run.size();
}

void DocumentBuilder::insertRunPart(qsizetype from, qsizetype to)
{
    if (from >= to)
        return;
    m_shownUnits += to - from;
    m_target.insertText(from == 0 && to == m_run.size() ? m_run : m_run.mid(from, to - from),
                        m_runFormat);
    m_blockEmpty = false;
}

// A zero-width space, marked as the reader's own so that the writer leaves it out.
bool DocumentBuilder::insertWordBreak()
{
    if (!m_budget.addUnit(QChar(ZeroWidthSpace))) {
        cut();
        return false;
    }
    CharFormat format = m_runFormat;
    format.wordBreak = true;
    m_target.insertText(QString(QChar(ZeroWidthSpace)), format);
    return true;
}

} // namespace fosdat::rtf
