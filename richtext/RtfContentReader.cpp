#include "RtfContentReader.h"

#include "RtfCodePages.h"
#include "RtfControlWords.h"
#include "RtfDocumentBuilder.h"
#include "RtfFootnotes.h"
#include "RtfFormatWords.h"
#include "RtfLimits.h"
#include "RtfPicture.h"
#include "RtfTables.h"
#include "RtfTokenizer.h"
#include "RtfUnits.h"

#include <QLoggingCategory>
#include <algorithm>
#include <vector>

Q_LOGGING_CATEGORY(lcRtfReader, "fosdat.rtf.reader", QtWarningMsg)

namespace fosdat::rtf
{

namespace
{

// What a group changes. A copy is pushed on '{' and dropped on '}'.
struct GroupState {
    Destination destination = Destination::Text;
    TextFormats formats;
    int fontIndex = -1;
    int fontCodePage = 0; // 0: the document's code page applies
    int unicodeSkip = 1;  // \uc: fallback bytes after each \uN
    int pendingSkip = 0;  // fallback bytes still to skip
    bool hidden = false;  // \v
    bool inNote = false;  // the text is a footnote's
    // The kind \tqr, \tqc or \tqdec gives the next tab stop.
    TabKind tabKind = TabKind::Left;
};

bool isOn(const Token &token)
{
    return !token.hasParameter || token.parameter != 0;
}

class Reader
{
public:
    // `layoutHeight` is the height the view can lay out, none for the text.
    Reader(ContentTarget &target, std::optional<qreal> layoutHeight)
        : m_builder(target, m_decoders, m_plainChars, layoutHeight),
          m_notes(m_decoders, m_plainChars), m_fonts(m_decoders)
    {
        m_stack.reserve(limits::MaxGroupDepth);
        m_plainChars.halfPoints = units::DefaultHalfPoints;
        setDefaultTab(units::DefaultTabLength);
    }

    void read(QByteArrayView input, const ReadProgress &progress);
    // Whether the content was cut short by the caps, and its characters.
    ContentCounts counts() const
    {
        return {m_builder.isCut(), m_builder.isPartlyPlain(), m_builder.shownCharacters(),
                m_builder.givenCharacters()};
    }

private:
    GroupState &top() { return m_stack.back(); }
    int codePage(const GroupState &state) const
    {
        return state.fontCodePage ? state.fontCodePage : m_documentCodePage;
    }
    // Where the text of the current group goes.
    DocumentBuilder &builder() { return top().inNote ? m_notes.builder() : m_builder; }

    void handle(Token &token);
    bool skipFallback(Token &token);
    void openGroup();
    void closeGroup();
    void endDestination(const GroupState &closed);
    void controlWord(const Token &token, bool starred);
    void destinationWord(Destination destination);
    void beginNote(GroupState &state);
    void noteNumber(const GroupState &state);
    void documentWord(DocumentWord word, const Token &token);
    void textWord(const ControlWord &word, const Token &token);
    void characterWord(CharacterWord word, const Token &token);
    void breakWord(BreakWord word);
    void tableWord(const ControlWord &word, const Token &token);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void unicode(int value);
    void setDefaultTab(int length);
    void applyFont(GroupState &state, int index);
    void resetCharacters(GroupState &state);
    void fontTableDone();
    void pictureDone();

    DecoderCache m_decoders;
    CharFormat m_plainChars; // what \plain restores
    DocumentBuilder m_builder;
    Footnotes m_notes;
    FontTable m_fonts;
    ColorTable m_colors;
    PictureReader m_picture;
    std::vector<GroupState> m_stack;
    qsizetype m_excessDepth = 0; // open groups beyond MaxGroupDepth
    bool m_starred = false;      // \* seen, waiting for its control word
    bool m_done = false;         // the outermost group has closed
    bool m_fontTableSeen = false;
    int m_documentCodePage = DefaultCodePage;
    int m_defaultFont = -1;
    qint64 m_pictureBudget = limits::MaxDocumentPictureBytes;
};

void Reader::read(QByteArrayView input, const ReadProgress &progress)
{
    constexpr qsizetype ProgressInterval = 64 * 1024; // bytes between two reports
    qsizetype nextReport = progress ? 0 : input.size() + 1;
    Tokenizer tokenizer(input);
    Token token;
    while (!m_done && tokenizer.next(token)) {
        if (token.offset >= nextReport) {
            if (!progress(token.offset))
                break;
            nextReport = token.offset + ProgressInterval;
        }
        handle(token);
    }
    while (!m_stack.empty()) // truncated input: close what is still open
        closeGroup();
    m_notes.appendTo(m_builder, m_plainChars);
    m_builder.finish();
}

void Reader::handle(Token &token)
{
    if (token.kind == TokenKind::GroupOpen)
        return openGroup();
    if (token.kind == TokenKind::GroupClose)
        return closeGroup();
    if (m_excessDepth > 0 || m_stack.empty())
        return;
    if (top().pendingSkip > 0 && skipFallback(token))
        return;
    const bool starred = std::exchange(m_starred, false);
    if (top().destination == Destination::Skip)
        return;
    switch (token.kind) {
    case TokenKind::ControlWord:
        return controlWord(token, starred);
    case TokenKind::ControlSymbol:
        return controlSymbol(token.symbol);
    case TokenKind::Text:
        return text(token.bytes);
    case TokenKind::HexByte: {
        const char byte = char(token.byte);
        return text(QByteArrayView(&byte, 1));
    }
    case TokenKind::Binary:
        if (top().destination == Destination::Picture)
            m_picture.appendBinary(token.bytes);
        return;
    case TokenKind::GroupOpen:
    case TokenKind::GroupClose:
        return;
    }
}

// Skips the fallback of \uN: a byte of text, a \'hh, a control word or symbol
// and \bin data each count as one. Returns true when nothing of the token is left.
bool Reader::skipFallback(Token &token)
{
    GroupState &state = top();
    if (token.kind != TokenKind::Text) {
        --state.pendingSkip;
        return true;
    }
    const qsizetype skipped = std::min(qsizetype(state.pendingSkip), token.bytes.size());
    state.pendingSkip -= int(skipped);
    token.bytes = token.bytes.sliced(skipped);
    return token.bytes.isEmpty();
}

void Reader::openGroup()
{
    m_starred = false;
    if (m_stack.empty()) {
        GroupState root;
        root.formats.chars = m_plainChars;
        m_stack.push_back(root);
        return;
    }
    top().pendingSkip = 0; // a group boundary ends a fallback
    if (m_excessDepth > 0 || int(m_stack.size()) >= limits::MaxGroupDepth) {
        if (m_excessDepth++ == 0)
            qCDebug(lcRtfReader) << "groups nested too deep; skipping the deeper ones";
        return;
    }
    m_stack.push_back(top());
}

void Reader::closeGroup()
{
    m_starred = false;
    if (m_excessDepth > 0) {
        --m_excessDepth;
        return;
    }
    if (m_stack.empty())
        return;
    const GroupState closed = std::move(top());
    m_stack.pop_back();
    if (m_stack.empty())
        m_done = true;
    else
        top().pendingSkip = 0;
    endDestination(closed);
}

// Commits what a closing group collected when its destination ends with it.
void Reader::endDestination(const GroupState &closed)
{
    const Destination outer = m_stack.empty() ? Destination::Text : top().destination;
    if (closed.inNote && (m_stack.empty() || !top().inNote))
        m_notes.end(closed.formats);
    switch (closed.destination) {
    case Destination::FontTable:
        m_fonts.endEntry();
        if (outer != Destination::FontTable)
            fontTableDone();
        break;
    case Destination::ColorTable:
        if (outer != Destination::ColorTable)
            m_colors.endTable();
        break;
    case Destination::Picture:
        if (outer != Destination::Picture && !m_stack.empty())
            pictureDone();
        break;
    case Destination::Text:
    case Destination::Skip:
    case Destination::Footnote:
        break;
    }
}

void Reader::controlWord(const Token &token, bool starred)
{
    const ControlWord *word = token.bytes.isEmpty() ? nullptr : findControlWord(token.bytes);
    if (starred && (!word || word->kind != WordKind::Destination)) {
        top().destination = Destination::Skip; // an optional destination not known here
        return;
    }
    if (!word)
        return;
    switch (word->kind) {
    case WordKind::Destination:
        return destinationWord(Destination(word->id));
    case WordKind::Document:
        return documentWord(DocumentWord(word->id), token);
    default:
        break;
    }
    if (top().destination == Destination::Text)
        textWord(*word, token);
    else
        tableWord(*word, token);
}

void Reader::destinationWord(Destination destination)
{
    GroupState &state = top();
    // A footnote in a footnote has no place to go, a hidden one is not shown.
    const bool lostNote = destination == Destination::Footnote && (state.inNote || state.hidden);
    if (destination == Destination::Skip || state.destination != Destination::Text || lostNote) {
        state.destination = Destination::Skip; // also a destination where none belongs
        return;
    }
    if (destination == Destination::Footnote)
        return beginNote(state);
    state.destination = destination;
    if (destination == Destination::Picture)
        m_picture.begin();
}

// A footnote's text is text, read as any other, but goes to the footnotes.
void Reader::beginNote(GroupState &state)
{
    state.inNote = true;
    m_notes.begin();
    Footnotes::setSize(state.formats.chars);
}

// \chftn: the number of its footnote, as text in the current format.
void Reader::noteNumber(const GroupState &state)
{
    if (state.hidden)
        return;
    for (const QChar digit : QString::number(m_notes.number(state.inNote)))
        builder().appendUnit(digit.unicode(), state.formats);
}

void Reader::documentWord(DocumentWord word, const Token &token)
{
    GroupState &state = top();
    switch (word) {
    case DocumentWord::Ansi:
        m_documentCodePage = DefaultCodePage;
        break;
    case DocumentWord::AnsiCodePage:
        if (isKnownCodePage(token.parameter))
            m_documentCodePage = token.parameter;
        break;
    case DocumentWord::Mac:
        m_documentCodePage = 10000;
        break;
    case DocumentWord::Pc:
        m_documentCodePage = 437;
        break;
    case DocumentWord::Pca:
        m_documentCodePage = 850;
        break;
    case DocumentWord::DefaultFont:
        m_defaultFont = token.parameter;
        applyFont(state, m_defaultFont);
        break;
    case DocumentWord::UnicodeSkip:
        state.unicodeSkip =
            std::clamp(token.hasParameter ? token.parameter : 1, 0, limits::MaxUnicodeSkip);
        break;
    case DocumentWord::Unicode:
        if (token.hasParameter)
            unicode(token.parameter);
        break;
    case DocumentWord::DefaultTab:
        if (token.parameter > 0)
            setDefaultTab(token.parameter);
        break;
    }
}

// \uN: N is a signed 16-bit value; its fallback is skipped afterwards.
void Reader::unicode(int value)
{
    GroupState &state = top();
    if (value < 0)
        value += 0x10000;
    const char16_t unit = value >= 0 && value <= 0xFFFF ? char16_t(value) : u'\uFFFD';
    if (state.destination == Destination::Text && !state.hidden)
        builder().appendUnit(unit, state.formats);
    else if (state.destination == Destination::FontTable)
        m_fonts.appendUnit(unit);
    state.pendingSkip = state.unicodeSkip;
}

void Reader::textWord(const ControlWord &word, const Token &token)
{
    GroupState &state = top();
    switch (word.kind) {
    case WordKind::Character:
        return characterWord(CharacterWord(word.id), token);
    case WordKind::Paragraph:
        if (ParagraphWord(word.id) == ParagraphWord::Reset)
            state.tabKind = TabKind::Left;
        applyParagraphWord(state.formats.block, ParagraphWord(word.id), token.parameter);
        return;
    case WordKind::Tab:
        applyTabWord(state.formats.block, state.tabKind, TabWord(word.id), token.parameter);
        return;
    case WordKind::Break:
        return breakWord(BreakWord(word.id));
    case WordKind::Symbol:
        if (!state.hidden)
            builder().appendUnit(char16_t(word.id), state.formats);
        return;
    default:
        return;
    }
}

void Reader::characterWord(CharacterWord word, const Token &token)
{
    GroupState &state = top();
    switch (word) {
    case CharacterWord::Hidden:
        state.hidden = isOn(token);
        break;
    case CharacterWord::Plain:
        resetCharacters(state);
        break;
    case CharacterWord::Font:
        applyFont(state, token.parameter);
        break;
    case CharacterWord::FootnoteNumber:
        noteNumber(state);
        break;
    case CharacterWord::Foreground:
    case CharacterWord::Background:
        setColor(state.formats.chars, word, m_colors.color(token.parameter));
        break;
    default:
        applyCharacterWord(state.formats.chars, word, isOn(token), token.parameter);
        break;
    }
}

// Paragraph, section and page ends and table rows all end a paragraph.
void Reader::breakWord(BreakWord word)
{
    if (word == BreakWord::Cell)
        builder().endCell();
    else
        builder().endParagraph(top().formats);
}

// Control words inside the font, color and picture tables.
void Reader::tableWord(const ControlWord &word, const Token &token)
{
    switch (top().destination) {
    case Destination::FontTable:
        if (word.kind == WordKind::Character && CharacterWord(word.id) == CharacterWord::Font)
            m_fonts.beginEntry(token.parameter, m_documentCodePage);
        else if (word.kind == WordKind::Font && FontWord(word.id) == FontWord::Charset)
            m_fonts.setCharset(token.parameter);
        else if (word.kind == WordKind::Font)
            m_fonts.setCodePage(token.parameter);
        break;
    case Destination::ColorTable:
        if (word.kind == WordKind::Color)
            m_colors.setComponent(ColorWord(word.id), token.parameter);
        break;
    case Destination::Picture:
        if (word.kind == WordKind::Picture)
            m_picture.setWord(PictureWord(word.id), token.parameter);
        break;
    case Destination::Text:
    case Destination::Skip:
    case Destination::Footnote:
        break;
    }
}

void Reader::controlSymbol(char symbol)
{
    GroupState &state = top();
    if (symbol == '*') {
        m_starred = true;
        return;
    }
    if (state.destination != Destination::Text)
        return;
    DocumentBuilder &out = builder();
    if (symbol == '\n') // a backslash before a line break is \par
        return out.endParagraph(state.formats);
    if (state.hidden)
        return;
    switch (symbol) {
    case '~':
        return out.appendUnit(u'\u00A0', state.formats); // no-break space
    case '-':
        return out.appendUnit(u'\u00AD', state.formats); // soft hyphen
    case '_':
        return out.appendUnit(u'\u2011', state.formats); // no-break hyphen
    case '{':
    case '}':
    case '\\':
        return out.appendUnit(char16_t(symbol), state.formats);
    default:
        return; // index marks and unknown symbols
    }
}

void Reader::text(QByteArrayView bytes)
{
    GroupState &state = top();
    switch (state.destination) {
    case Destination::Text:
        if (!state.hidden)
            builder().appendBytes(bytes, codePage(state), state.formats);
        break;
    case Destination::FontTable:
        m_fonts.appendName(bytes);
        break;
    case Destination::ColorTable:
        for (qsizetype n = bytes.count(';'); n > 0; --n)
            m_colors.endEntry();
        break;
    case Destination::Picture:
        m_picture.appendHex(bytes);
        break;
    case Destination::Skip:
    case Destination::Footnote:
        break;
    }
}

// The distance of the tab stops beyond a paragraph's own.
void Reader::setDefaultTab(int length)
{
    m_builder.setTabDistance(units::pixelsFromRtfLength(std::min(length, limits::MaxRtfLength)));
}

void Reader::applyFont(GroupState &state, int index)
{
    state.fontIndex = index;
    const FontEntry *font = m_fonts.find(index);
    state.fontCodePage = font ? font->codePage : 0;
    state.formats.chars.family = font ? font->family : QString();
}

void Reader::resetCharacters(GroupState &state)
{
    state.formats.chars = m_plainChars;
    state.hidden = false;
    applyFont(state, m_defaultFont);
    if (state.inNote)
        Footnotes::setSize(state.formats.chars);
}

// The fonts are known now: the groups around the table get their families.
// Only the first table updates the whole stack; a document has one, and
// repeating the walk for every further table would let nesting multiply the work.
void Reader::fontTableDone()
{
    if (const FontEntry *font = m_fonts.find(m_defaultFont); font && !font->family.isEmpty())
        m_plainChars.family = font->family;
    if (std::exchange(m_fontTableSeen, true)) {
        if (!m_stack.empty())
            applyFont(top(), top().fontIndex);
        return;
    }
    for (GroupState &state : m_stack)
        applyFont(state, state.fontIndex);
}

void Reader::pictureDone()
{
    const GroupState &state = top();
    // A full document shows no more pictures: their headers are not even read.
    if (state.destination != Destination::Text || state.hidden || m_builder.isCut())
        return;
    const std::optional<Picture> picture = m_picture.finish(m_pictureBudget);
    m_picture.begin(); // frees the data
    if (!picture) {
        qCDebug(lcRtfReader)
            << "picture skipped: not PNG or JPEG, of no size, too large or of too many scans";
        return;
    }
    builder().insertPicture(*picture, state.formats);
}

} // namespace

std::optional<QByteArrayView> rtfStart(QByteArrayView bytes)
{
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const QByteArrayView rtf =
        bytes.sliced(std::find_if_not(bytes.begin(), bytes.end(), isSpace) - bytes.begin());
    if (!rtf.startsWith("{\\rtf"))
        return std::nullopt;
    return rtf;
}

ContentCounts readContent(QByteArrayView rtf, ContentTarget &target,
                          std::optional<qreal> layoutHeight, const ReadProgress &progress)
{
    Reader reader(target, layoutHeight);
    reader.read(rtf, progress);
    return reader.counts();
}

} // namespace fosdat::rtf
