#include "RangeReader.h"

#include "CharScan.h"
#include "TimeScale.h"

#include <cstring>
#include <utility>

namespace fosdat::strata
{

namespace
{

// Ages of the chart meet to far better than this.
constexpr double AgeTolerance = 1e-6;

using Kind = TokenKind;

bool isPartLetter(QChar c)
{
    return c == u'l' || c == u'm' || c == u'u';
}

Placement unplaced(Reason reason, TextSpan code)
{
    Placement placement;
    placement.reason = reason;
    placement.code = code;
    return placement;
}

// The stretch of time one side of a range stands for.
struct Bound {
    enum class Kind : quint8 { Units, Period, Present } kind = Kind::Units;
    const Unit *first = nullptr; // Units: as written, one or two
    const Unit *last = nullptr;
    TextSpan firstText, lastText;
    StageSpan stages;
    double base = 0; // of its first unit, and top of its last
    double top = 0;
    double firstTop = 0; // top of its first unit, base of its last
    double lastBase = 0;
    Reason reason = Reason::None;
    TextSpan code;
};

// Reads the tokens of one range from a start the caller found.
class RangeParser
{
public:
    // Tokens [0, end) are the stretch the range may lie in.
    RangeParser(QStringView text, Tokens &tokens, int end, const TimeScale &scale)
        : m_text(text), m_tokens(tokens.data()), m_end(end), m_scale(scale)
    {
    }

    bool startsRange(int at) const;
    RangeReading read(int at, qsizetype zoneEnd);
    // The end of the stretch's last token.
    qsizetype zoneEnd() const { return m_end > 0 ? m_tokens[m_end - 1].end : 0; }

private:
    QStringView word(int at) const
    {
        const Token &t = m_tokens[at];
        return QStringView(m_text.utf16() + t.start, t.end - t.start);
    }
    bool is(int at, Kind kind) const { return at < m_end && m_tokens[at].kind == kind; }
    bool isQualifier(int at) const;
    const Unit *unitAt(int at) const;
    const Period *periodAt(int at) const;
    bool isPeriod(int at) const { return is(at, Kind::Word) && periodAt(at); }
    bool isUnit(int at) const { return is(at, Kind::Word) && unitAt(at); }
    bool isStrangePeriod(int at) const;
    TextSpan span(int from, int to) const;

    void skipQuestions();
    QChar takeQualifier();
    bool readBound(Bound &bound, bool second);
    bool readPeriodBound(Bound &bound, int from);
    bool readUnits(Bound &bound, const Period *period, int codeAt);
    bool readUnit(const Unit **unit, TextSpan *text, Bound &bound);
    void placePeriod(Bound &bound, const Period &period, QChar part, int from);
    Placement combine(const Bound &first, const Bound &second, TextSpan range) const;

    QStringView m_text;
    Token *m_tokens; // the words' lookups are kept in them
    int m_end;
    const TimeScale &m_scale;
    int m_at = 0;
    bool m_uncertain = false;
};

const Unit *RangeParser::unitAt(int at) const
{
    Token &token = m_tokens[at];
    if (!token.unitLooked) {
        token.unitLooked = true;
        token.unit = m_scale.unit(word(at));
    }
    return token.unit;
}

const Period *RangeParser::periodAt(int at) const
{
    Token &token = m_tokens[at];
    if (!token.periodLooked) {
        token.periodLooked = true;
        token.period = m_scale.period(word(at));
    }
    return token.period;
}

TextSpan RangeParser::span(int from, int to) const
{
    if (to <= from)
        return {};
    return {m_tokens[from].start, m_tokens[to - 1].end - m_tokens[from].start};
}

// "l", "m" or "u" before a code: "l-K", "u.J", "l K", "(l Camp)".
bool RangeParser::isQualifier(int at) const
{
    if (!is(at, Kind::Word) || word(at).size() != 1 || !isPartLetter(word(at)[0]))
        return false;
    const int next = at + 1;
    if (is(next, Kind::Word) && m_tokens[next].spaceBefore)
        return true;
    return (is(next, Kind::Dot) || (is(next, Kind::Dash) && !m_tokens[next].spaceBefore)) &&
           is(next + 1, Kind::Word);
}

// A short capitalised word before a stage in parentheses, "Z (Camp)": meant
// as a period code, but not one the scale knows.
bool RangeParser::isStrangePeriod(int at) const
{
    if (!is(at, Kind::Word) || !is(at + 1, Kind::Open) || !is(at + 2, Kind::Word) ||
        !(is(at + 3, Kind::Close) || is(at + 3, Kind::Dash)))
        return false;
    const QStringView w = word(at);
    return w.size() <= 2 && w[0].isUpper() && (w.size() == 1 || w[1].isLower());
}

bool RangeParser::startsRange(int at) const
{
    if (at >= m_end)
        return false;
    switch (m_tokens[at].kind) {
    case Kind::Question:
        return is(at + 1, Kind::Word) || is(at + 1, Kind::Open);
    case Kind::Open:
        return isUnit(at + 1) &&
               (is(at + 2, Kind::Close) || is(at + 2, Kind::Dash) || is(at + 2, Kind::Question));
    case Kind::Word:
        break;
    default:
        return false;
    }
    if (isQualifier(at))
        return isPeriod(at + (is(at + 1, Kind::Word) ? 1 : 2));
    const bool ends = at + 1 >= m_end || is(at + 1, Kind::Dash) || is(at + 1, Kind::Question);
    if (isPeriod(at))
        return ends || is(at + 1, Kind::Open);
    return (isUnit(at) && ends) || isStrangePeriod(at);
}

void RangeParser::skipQuestions()
{
    while (is(m_at, Kind::Question)) {
        m_uncertain = true;
        ++m_at;
    }
}

QChar RangeParser::takeQualifier()
{
    if (!isQualifier(m_at))
        return {};
    const QChar part = word(m_at)[0];
    m_at += is(m_at + 1, Kind::Word) ? 1 : 2;
    return part;
}

bool RangeParser::readUnit(const Unit **unit, TextSpan *text, Bound &bound)
{
    skipQuestions();
    takeQualifier();
    skipQuestions();
    if (!is(m_at, Kind::Word))
        return false;
    *text = span(m_at, m_at + 1);
    *unit = unitAt(m_at);
    if (!*unit && bound.reason == Reason::None) {
        bound.reason = Reason::UnknownStage;
        bound.code = *text;
    }
    ++m_at;
    skipQuestions();
    // A qualifier after the code: "Camp-u", "Camp u".
    const int next = m_at + (is(m_at, Kind::Dash) && !m_tokens[m_at].spaceBefore ? 1 : 0);
    if (is(next, Kind::Word) && word(next).size() == 1 && isPartLetter(word(next)[0]) &&
        (next > m_at || m_tokens[next].spaceBefore) &&
        (is(next + 1, Kind::Close) || is(next + 1, Kind::Dash) || is(next + 1, Kind::Question)))
        m_at = next + 1;
    skipQuestions();
    return true;
}

// "(Camp)", "(Ceno-Camp)", after a period code or alone.
bool RangeParser::readUnits(Bound &bound, const Period *period, int codeAt)
{
    const int from = codeAt >= 0 ? codeAt : m_at;
    ++m_at; // the opening parenthesis
    if (!readUnit(&bound.first, &bound.firstText, bound))
        return false;
    bound.last = bound.first;
    bound.lastText = bound.firstText;
    if (is(m_at, Kind::Dash)) {
        ++m_at;
        if (!readUnit(&bound.last, &bound.lastText, bound))
            return false;
    }
    if (!is(m_at, Kind::Close))
        return false;
    ++m_at;
    if (bound.reason != Reason::None)
        return true;
    if (period &&
        (!m_scale.belongsTo(*bound.first, *period) || !m_scale.belongsTo(*bound.last, *period))) {
        bound.reason = Reason::StageOutsidePeriod;
        bound.code = span(from, m_at);
        return true;
    }
    bound.stages = {bound.first->first, bound.last->last};
    bound.base = bound.first->base;
    bound.firstTop = bound.first->top;
    bound.lastBase = bound.last->base;
    bound.top = bound.last->top;
    return true;
}

void RangeParser::placePeriod(Bound &bound, const Period &period, QChar part, int from)
{
    bound.kind = Bound::Kind::Period;
    const auto whole = m_scale.periodStages(period);
    std::optional<StageSpan> stages = whole;
    if (whole && !part.isNull()) {
        stages = m_scale.periodStages(period, part);
        bool hasParts = false;
        for (int i = whole->first; i <= whole->last; ++i)
            hasParts = hasParts || !m_scale.stages()[i].part.isNull();
        if (!hasParts) // a period not divided: its part lies in the same stages
            stages = whole;
    }
    if (!stages) {
        bound.reason = whole ? Reason::UnknownPart : Reason::AmbiguousPeriod;
        bound.code = span(from, m_at);
        return;
    }
    bound.stages = *stages;
    bound.base = bound.lastBase = m_scale.stages()[stages->first].base;
    bound.top = bound.firstTop = m_scale.stages()[stages->last].top;
}

bool RangeParser::readPeriodBound(Bound &bound, int from)
{
    QChar part = takeQualifier();
    skipQuestions();
    const int codeAt = m_at;
    const Period *period = periodAt(codeAt);
    ++m_at;
    // A qualifier after the period, "K-u".
    if (part.isNull() && is(m_at, Kind::Dash) && !m_tokens[m_at].spaceBefore &&
        is(m_at + 1, Kind::Word) && word(m_at + 1).size() == 1 && isPartLetter(word(m_at + 1)[0]) &&
        !m_tokens[m_at + 1].spaceBefore) {
        part = word(m_at + 1)[0];
        m_at += 2;
    }
    skipQuestions();
    if (!period) {
        bound.reason = Reason::UnknownPeriod;
        bound.code = span(codeAt, codeAt + 1);
        return is(m_at, Kind::Open) && readUnits(bound, nullptr, codeAt);
    }
    if (is(m_at, Kind::Open))
        return readUnits(bound, period, from);
    placePeriod(bound, *period, part, from);
    return true;
}

bool RangeParser::readBound(Bound &bound, bool second)
{
    const int from = m_at;
    skipQuestions();
    if (is(m_at, Kind::Open))
        return readUnits(bound, nullptr, -1);
    if (!is(m_at, Kind::Word))
        return false;
    if (second && m_scale.isPresent(word(m_at))) {
        bound.kind = Bound::Kind::Present;
        bound.stages = {int(m_scale.stages().size()) - 1, int(m_scale.stages().size()) - 1};
        ++m_at;
        return true;
    }
    const int codeAt = m_at + (isQualifier(m_at) ? (is(m_at + 1, Kind::Word) ? 1 : 2) : 0);
    if (isPeriod(codeAt) || isStrangePeriod(codeAt))
        return readPeriodBound(bound, from);
    if (!isUnit(codeAt))
        return false;
    // A stage without its period: "Camp".
    m_at = from;
    if (!readUnit(&bound.first, &bound.firstText, bound))
        return false;
    bound.last = bound.first;
    bound.lastText = bound.firstText;
    bound.stages = {bound.first->first, bound.first->last};
    bound.base = bound.lastBase = bound.first->base;
    bound.top = bound.firstTop = bound.first->top;
    return true;
}

// A range goes forward in time: each unit begins and ends no later than the
// next one written.
bool goesBack(double base, double top, double nextBase, double nextTop)
{
    return base < nextBase - AgeTolerance || top < nextTop - AgeTolerance;
}

Placement RangeParser::combine(const Bound &first, const Bound &second, TextSpan range) const
{
    Placement placement;
    placement.uncertain = m_uncertain;
    for (const Bound *bound : {&first, &second}) {
        if (bound->reason != Reason::None) {
            placement.reason = bound->reason;
            placement.code = bound->code;
            return placement;
        }
    }
    const bool present = second.kind == Bound::Kind::Present;
    const bool two = &first != &second && !present;
    const bool reversed =
        goesBack(first.base, first.firstTop, first.lastBase, first.top) ||
        (two && (goesBack(first.lastBase, first.top, second.base, second.firstTop) ||
                 goesBack(second.base, second.firstTop, second.lastBase, second.top)));
    if (reversed) {
        placement.reason = Reason::Reversed;
        placement.code = range;
        return placement;
    }
    placement.first = first.stages.first;
    placement.last = second.stages.last;
    placement.firstWritten = first.firstText;
    placement.lastWritten = present ? TextSpan{} : second.lastText;
    placement.extant = present;
    placement.periodOnly = first.kind == Bound::Kind::Period || second.kind == Bound::Kind::Period;
    return placement;
}

RangeReading RangeParser::read(int at, qsizetype zoneEnd)
{
    m_at = at;
    const qsizetype start = m_tokens[at].start;
    const auto unreadable = [&] {
        const TextSpan rest{start, zoneEnd - start};
        return RangeReading{rest, unplaced(Reason::Unreadable, rest)};
    };
    Bound first;
    if (!readBound(first, false))
        return unreadable();
    if (!is(m_at, Kind::Dash)) {
        const TextSpan range = span(at, m_at);
        return {range, combine(first, first, range)};
    }
    ++m_at;
    Bound second;
    if (!readBound(second, true))
        return unreadable();
    const TextSpan range = span(at, m_at);
    return {range, combine(first, second, range)};
}

// Where the author ends in text[from, to), a stretch that begins at a token:
// after the first year (a number of four digits from 1700 to 2100) and what
// closes it ("Smith, 1975", "(Smith, 1975a),"), at the start of the token
// that follows, or `to`; nothing where no year is written. Read from the
// characters as the tokens would have them, so that a memo of what follows
// is reached without cutting the author into tokens.
std::optional<qsizetype> authorEnd(QStringView text, qsizetype from, qsizetype to)
{
    const char16_t *chars = text.utf16();
    const auto skipBlanks = [&](qsizetype at) {
        while (at < to && tokens::isSpace(chars[at]))
            ++at;
        return at;
    };
    for (qsizetype at = from; (at = scan::indexOfDigit(chars, at, to)) < to; ++at) {
        // A number begins where no word or number goes on.
        if (at > from && tokens::continuesWord(chars[at - 1]))
            continue;
        const qsizetype end = tokens::tokenEnd(chars, at, to, Kind::Number);
        int year = 0;
        for (qsizetype i = at; i < end && year < 100000; ++i)
            year = year * 10 + (chars[i] - u'0');
        if (end - at != 4 || year < 1700 || year > 2100) {
            at = end - 1;
            continue;
        }
        qsizetype after = end;
        if (after < to && tokens::kindOf(chars[after]) == Kind::Word &&
            tokens::tokenEnd(chars, after, to, Kind::Word) == after + 1)
            ++after; // "1975a"
        for (after = skipBlanks(after); after < to; after = skipBlanks(after + 1)) {
            const Kind kind = tokens::kindOf(chars[after]);
            if (kind != Kind::Close && kind != Kind::Dot && kind != Kind::Other)
                break;
        }
        return after;
    }
    return std::nullopt;
}

// The same as a token: the first of tokens [from, to) after the author.
int afterYear(QStringView text, const Tokens &tokens, int from, int to)
{
    if (from >= to)
        return from;
    const std::optional<qsizetype> end = authorEnd(text, tokens[from].start, tokens[to - 1].end);
    if (!end)
        return from;
    int after = from;
    while (after < to && tokens[after].start < *end)
        ++after;
    return after;
}

// The range in tokens [at, to): the first token a range starts at, read, or
// Unreadable with an empty range where none starts. It depends on the
// characters from the first token's start to the last token's end alone.
RangeReading firstRange(RangeParser &parser, const Tokens &tokens, int at, int to)
{
    const qsizetype start = tokens[at].start;
    const qsizetype end = tokens[to - 1].end;
    for (; at < to; ++at) {
        if (parser.startsRange(at))
            return parser.read(at, end);
    }
    const TextSpan rest{start, end - start};
    return {{}, unplaced(Reason::Unreadable, rest)};
}

// Where no range follows the author, one may stand before the year; else
// the text after the author is unreadable, or there is none.
RangeReading rangeBefore(RangeParser &parser, int from, int afterAuthor, int to,
                         const RangeReading &after)
{
    for (int at = from; at < afterAuthor; ++at) {
        if (parser.startsRange(at))
            return parser.read(at, parser.zoneEnd());
    }
    if (afterAuthor < to)
        return after;
    return {{}, unplaced(Reason::NoRange, {})};
}

TextSpan moved(TextSpan span, qsizetype by)
{
    return span.isEmpty() ? span : TextSpan{span.start + by, span.length};
}

// The reading with its spans moved by `by` characters.
RangeReading moved(RangeReading reading, qsizetype by)
{
    reading.range = moved(reading.range, by);
    reading.placement.code = moved(reading.placement.code, by);
    reading.placement.firstWritten = moved(reading.placement.firstWritten, by);
    reading.placement.lastWritten = moved(reading.placement.lastWritten, by);
    return reading;
}

RangeReading readRange(QStringView text, Tokens &tokens, int from, int to, const TimeScale &scale,
                       RangeMemo *memo)
{
    RangeParser parser(text, tokens, to, scale);
    const int afterAuthor = afterYear(text, tokens, from, to);
    RangeReading after;
    if (afterAuthor < to) {
        const qsizetype start = tokens[afterAuthor].start;
        const QStringView characters = text.sliced(start, tokens[to - 1].end - start);
        if (const RangeReading *known = memo ? memo->find(characters) : nullptr) {
            after = moved(*known, start);
        } else {
            after = firstRange(parser, tokens, afterAuthor, to);
            if (memo)
                memo->insert(characters, moved(after, -start));
        }
        if (!after.range.isEmpty())
            return after;
    }
    return rangeBefore(parser, from, afterAuthor, to, after);
}

} // namespace

const RangeReading *RangeMemo::find(QStringView characters) const
{
    if (m_slots.isEmpty())
        return nullptr;
    const quint32 hash = scan::hash(characters);
    const qsizetype mask = m_slots.size() - 1;
    for (qsizetype i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.known < 0)
            return nullptr;
        if (slot.hash != hash)
            continue;
        const Known &known = m_known[slot.known];
        if (known.length == characters.size() &&
            std::memcmp(m_characters.utf16() + known.start, characters.utf16(),
                        sizeof(char16_t) * characters.size()) == 0)
            return &known.reading;
    }
}

void RangeMemo::insert(QStringView characters, const RangeReading &reading)
{
    if (2 * (m_known.size() + 1) > m_slots.size()) {
        const QList<Slot> old =
            std::exchange(m_slots, QList<Slot>(std::max<qsizetype>(1024, 2 * m_slots.size())));
        for (const Slot &slot : old) {
            if (slot.known >= 0)
                place(slot.hash, slot.known);
        }
    }
    place(scan::hash(characters), qint32(m_known.size()));
    m_known.append({qint32(m_characters.size()), qint32(characters.size()), reading});
    m_characters.append(characters);
}

void RangeMemo::place(quint32 hash, qint32 known)
{
    const qsizetype mask = m_slots.size() - 1;
    qsizetype i = hash & mask;
    while (m_slots[i].known >= 0)
        i = (i + 1) & mask;
    m_slots[i] = {hash, known};
}

bool readRangeAfterAuthor(QStringView text, qsizetype from, qsizetype to, const TimeScale &scale,
                          RangeMemo &memo, RangeReading *reading)
{
    const qsizetype start = authorEnd(text, from, to).value_or(from);
    if (start >= to)
        return false;
    const QStringView characters = text.sliced(start, to - start);
    if (const RangeReading *known = memo.find(characters)) {
        *reading = moved(*known, start);
    } else {
        Tokens tokens = tokenize(text, start, to);
        RangeParser parser(text, tokens, int(tokens.size()), scale);
        *reading = firstRange(parser, tokens, 0, int(tokens.size()));
        memo.insert(characters, moved(*reading, -start));
    }
    return !reading->range.isEmpty();
}

RangeReading readRange(QStringView text, Tokens &tokens, int from, int to, const TimeScale &scale)
{
    return readRange(text, tokens, from, to, scale, nullptr);
}

RangeReading readRange(QStringView text, Tokens &tokens, int from, int to, const TimeScale &scale,
                       RangeMemo &memo)
{
    return readRange(text, tokens, from, to, scale, &memo);
}

RangeReading readRange(QStringView text, qsizetype from, qsizetype to, const TimeScale &scale)
{
    Tokens tokens = tokenize(text, from, to);
    return readRange(text, tokens, 0, int(tokens.size()), scale);
}

} // namespace fosdat::strata
