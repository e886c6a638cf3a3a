#include "RangeReader.h"

#include "TimeScale.h"

#include <algorithm>

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

// One side of a range: the stretch of time it stands for, or why it stands
// for none.
struct Bound {
    enum class Kind : quint8 { Units, Period, Present, Unknown } kind = Kind::Units;
    const Unit *first = nullptr; // Units: as written, one or two
    const Unit *last = nullptr;
    TextSpan firstText, lastText;
    StageSpan stages;
    double base = 0; // of its first unit, and top of its last
    double top = 0;
    bool reversed = false; // "(Camp-Ceno)": its last unit wholly before its first
    Reason reason = Reason::None;
    TextSpan code;

    void fail(Reason why, TextSpan text)
    {
        if (reason == Reason::None) {
            reason = why;
            code = text;
        }
    }
};

// Reads the tokens of one zone as a range, or tells whether a range begins
// at a token.
class RangeParser
{
public:
    // `doubt`: a "?" stands among the tokens (asked only by read()).
    RangeParser(QStringView text, std::span<const Token> tokens, const TimeScale &scale,
                bool doubt = true)
        : m_text(text), m_tokens(tokens.data()), m_count(qsizetype(tokens.size())), m_scale(scale),
          m_doubt(doubt)
    {
    }

    Placement read(TextSpan zone);
    bool beginsAt(int at) const;

private:
    QStringView word(int at) const
    {
        const Token &t = m_tokens[at];
        return m_text.sliced(t.start, t.end - t.start);
    }
    bool is(int at, Kind kind) const { return at < m_count && m_tokens[at].kind == kind; }
    // What the word at `at` stands for in the scale. The parser asks it of
    // the same word several times in a row ("K": the present? a period? a
    // unit?): the last word's answer is kept.
    const TimeScale::Meaning &meaning(int at) const
    {
        if (m_meaningAt != at) {
            m_meaning = m_scale.meaning(word(at));
            m_meaningAt = at;
        }
        return m_meaning;
    }
    const Period *period(int at) const { return meaning(at).period; }
    const Unit *unit(int at) const { return meaning(at).unit; }
    bool isPeriod(int at) const { return is(at, Kind::Word) && period(at); }
    bool isUnit(int at) const { return is(at, Kind::Word) && unit(at); }
    bool endsBound(int at) const
    {
        return at >= m_count || is(at, Kind::Dash) || is(at, Kind::Question) || is(at, Kind::Close);
    }
    TextSpan span(int from, int to) const
    {
        return TextSpan::between(m_tokens[from].start, m_tokens[to - 1].end);
    }
    int doubtGroupEnd(int at) const;
    int qualifierLength(int at) const;

    void skipDoubt();
    QChar takePartAfter();
    bool readBound(Bound &bound, bool second);
    bool readPeriodBound(Bound &bound, const Period &period, QChar part, int from);
    bool readUnits(Bound &bound, const Period *period, int from);
    bool readUnit(const Unit **unit, TextSpan *text, Bound &bound);
    void placeUnits(Bound &bound) const;
    void placePeriod(Bound &bound, const Period &period, QChar part, int from);
    Placement combine(const Bound &first, const Bound *second, TextSpan zone) const;

    QStringView m_text;
    const Token *m_tokens;
    qsizetype m_count;
    const TimeScale &m_scale;
    // Most ranges hold no "?": the parser's every question about doubt is
    // then answered at once.
    bool m_doubt;
    int m_at = 0;
    mutable int m_meaningAt = -1;
    mutable TimeScale::Meaning m_meaning;
};

// "(?)" at `at`: the index after it, or `at`.
int RangeParser::doubtGroupEnd(int at) const
{
    if (!m_doubt || !is(at, Kind::Open) || !is(at + 1, Kind::Question))
        return at;
    int i = at + 1;
    while (is(i, Kind::Question))
        ++i;
    return is(i, Kind::Close) ? i + 1 : at;
}

// "l", "m" or "u" before a code: "l-K", "u.J", "l K", "(l Camp)". The tokens
// it takes, or 0.
int RangeParser::qualifierLength(int at) const
{
    if (!is(at, Kind::Word) || word(at).size() != 1 || !isPartLetter(word(at)[0]))
        return 0;
    const int next = at + 1;
    if (is(next, Kind::Word) && m_tokens[next].spaceBefore)
        return 1;
    const bool joined =
        is(next, Kind::Dot) || (is(next, Kind::Dash) && !m_tokens[next].spaceBefore);
    return joined && is(next + 1, Kind::Word) ? 2 : 0;
}

// Doubt, anywhere in a range: "?", "(?)".
void RangeParser::skipDoubt()
{
    while (m_doubt) {
        if (is(m_at, Kind::Question)) {
            ++m_at;
        } else if (const int end = doubtGroupEnd(m_at); end > m_at) {
            m_at = end;
        } else {
            return;
        }
    }
}

// A qualifier after a code that ends its bound: "Camp-u", "Camp u", "K-u".
QChar RangeParser::takePartAfter()
{
    const bool dash = is(m_at, Kind::Dash) && !m_tokens[m_at].spaceBefore;
    const int at = m_at + (dash ? 1 : 0);
    if (!is(at, Kind::Word) || word(at).size() != 1 || !isPartLetter(word(at)[0]) ||
        m_tokens[at].spaceBefore == dash || !endsBound(at + 1))
        return {};
    m_at = at + 1;
    return word(at)[0];
}

bool RangeParser::readUnit(const Unit **unit, TextSpan *text, Bound &bound)
{
    skipDoubt();
    m_at += qualifierLength(m_at);
    skipDoubt();
    if (!is(m_at, Kind::Word))
        return false;
    *text = span(m_at, m_at + 1);
    *unit = this->unit(m_at);
    if (!*unit)
        bound.fail(Reason::UnknownStage, *text);
    ++m_at;
    skipDoubt();
    takePartAfter();
    skipDoubt();
    return true;
}

void RangeParser::placeUnits(Bound &bound) const
{
    if (bound.reason != Reason::None)
        return;
    bound.stages = {bound.first->first, bound.last->last};
    bound.base = bound.first->base;
    bound.top = bound.last->top;
    bound.reversed = bound.last->top >= bound.first->base - AgeTolerance;
}

// "(Camp)", "(Ceno-Camp)", after a period code or alone.
bool RangeParser::readUnits(Bound &bound, const Period *period, int from)
{
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
    if (period && bound.reason == Reason::None &&
        (!m_scale.belongsTo(*bound.first, *period) ||
         (bound.last != bound.first && !m_scale.belongsTo(*bound.last, *period))))
        bound.fail(Reason::StageOutsidePeriod, span(from, m_at));
    placeUnits(bound);
    return true;
}

void RangeParser::placePeriod(Bound &bound, const Period &period, QChar part, int from)
{
    bound.kind = Bound::Kind::Period;
    const std::optional<StageSpan> whole = m_scale.periodStages(period);
    std::optional<StageSpan> stages = whole;
    if (whole && !part.isNull()) {
        bool hasParts = false;
        for (int i = whole->first; i <= whole->last; ++i)
            hasParts = hasParts || !m_scale.stages()[i].part.isNull();
        // A period not divided: its part lies in the same stages.
        stages = hasParts ? m_scale.periodStages(period, part) : whole;
    }
    if (!stages) {
        bound.fail(whole ? Reason::UnknownPart : Reason::AmbiguousPeriod, span(from, m_at));
        return;
    }
    bound.stages = *stages;
    bound.base = m_scale.stages()[stages->first].base;
    bound.top = m_scale.stages()[stages->last].top;
}

bool RangeParser::readPeriodBound(Bound &bound, const Period &period, QChar part, int from)
{
    ++m_at;
    if (part.isNull())
        part = takePartAfter();
    skipDoubt();
    if (is(m_at, Kind::Open))
        return readUnits(bound, &period, from);
    placePeriod(bound, period, part, from);
    return true;
}

bool RangeParser::readBound(Bound &bound, bool second)
{
    const int from = m_at;
    skipDoubt();
    if (m_at > from && (m_at == m_count || is(m_at, Kind::Dash))) {
        bound.kind = Bound::Kind::Unknown; // "? - K (Camp)"
        return true;
    }
    if (is(m_at, Kind::Open))
        return readUnits(bound, nullptr, m_at);
    if (!is(m_at, Kind::Word))
        return false;
    if (second && meaning(m_at).present) {
        bound.kind = Bound::Kind::Present;
        ++m_at;
        return true;
    }
    const int qualifier = qualifierLength(m_at);
    const QChar part = qualifier > 0 ? word(m_at)[0] : QChar();
    m_at += qualifier;
    skipDoubt();
    if (!is(m_at, Kind::Word))
        return false;
    const int code = m_at;
    if (const Period *period = this->period(code))
        return readPeriodBound(bound, *period, part, from);
    if (unit(code)) { // a stage without its period: "Camp"
        m_at = from;
        if (!readUnit(&bound.first, &bound.firstText, bound))
            return false;
        bound.last = bound.first;
        bound.lastText = bound.firstText;
        placeUnits(bound);
        return true;
    }
    // A word where a period code stands before its stages: "Jur (Camp)".
    if (qualifier > 0 || !is(code + 1, Kind::Open) || doubtGroupEnd(code + 1) > code + 1)
        return false;
    bound.fail(Reason::UnknownPeriod, span(code, code + 1));
    ++m_at;
    return readUnits(bound, nullptr, from);
}

Placement RangeParser::combine(const Bound &first, const Bound *second, TextSpan zone) const
{
    Placement placement;
    const Bound &last = second ? *second : first;
    placement.firstWritten = first.firstText;
    placement.lastWritten = last.lastText;
    const auto unplaced = [&](Reason reason, TextSpan code) {
        placement.reason = reason;
        placement.code = code;
        return placement;
    };
    for (const Bound *bound : {&first, second}) {
        if (bound && bound->kind == Bound::Kind::Unknown)
            return unplaced(Reason::Unreadable, zone);
    }
    for (const Bound *bound : {&first, second}) {
        if (bound && bound->reason != Reason::None)
            return unplaced(bound->reason, bound->code);
    }
    // Reversed only where the end lies wholly before the start: a coarse end
    // that holds the start ("K (Camp) - K") ends where that end does.
    const bool present = last.kind == Bound::Kind::Present;
    const int lastStage = present ? int(m_scale.stages().size()) - 1 : last.stages.last;
    if (first.reversed || (second && (second->reversed || lastStage < first.stages.first ||
                                      (!present && second->top >= first.base - AgeTolerance))))
        return unplaced(Reason::Reversed, zone);
    placement.first = first.stages.first;
    placement.last = lastStage;
    placement.extant = present;
    placement.base = first.base;
    placement.top = present ? m_scale.stages().back().top : last.top;
    placement.firstUnit = first.first ? m_scale.unitIndex(*first.first) : -1;
    placement.lastUnit = !present && last.last ? m_scale.unitIndex(*last.last) : -1;
    placement.periodOnly = first.kind == Bound::Kind::Period || last.kind == Bound::Kind::Period;
    return placement;
}

Placement RangeParser::read(TextSpan zone)
{
    m_at = 0;
    Bound first;
    Bound second;
    bool read = readBound(first, false);
    skipDoubt(); // "K (Camp)?", "K (Camp) (?)"
    const bool two = read && is(m_at, Kind::Dash);
    if (two) {
        ++m_at;
        read = readBound(second, true);
        skipDoubt();
    }
    if (!read || m_at != m_count) {
        Placement unreadable;
        unreadable.reason = Reason::Unreadable;
        unreadable.code = zone;
        return unreadable;
    }
    return combine(first, two ? &second : nullptr, zone);
}

bool RangeParser::beginsAt(int at) const
{
    switch (at < m_count ? m_tokens[at].kind : Kind::Other) {
    case Kind::Question:
        return is(at + 1, Kind::Word) || is(at + 1, Kind::Open) || is(at + 1, Kind::Dash);
    case Kind::Open:
        return isUnit(at + 1) && endsBound(at + 2);
    case Kind::Word:
        break;
    default:
        return false;
    }
    if (const int qualifier = qualifierLength(at))
        return isPeriod(at + qualifier);
    if (isPeriod(at))
        return endsBound(at + 1) || is(at + 1, Kind::Open);
    return isUnit(at) && (at + 1 == m_count || is(at + 1, Kind::Dash));
}

} // namespace

Placement readRange(QStringView text, TextSpan zone, const TimeScale &scale)
{
    if (zone.isEmpty()) {
        Placement none;
        none.reason = Reason::NoRange;
        return none;
    }
    return readRange(text, zone, tokenize(text, zone.start, zone.end()), scale);
}

Placement readRange(QStringView text, TextSpan zone, std::span<const Token> tokens,
                    const TimeScale &scale)
{
    const bool doubt = std::any_of(tokens.begin(), tokens.end(),
                                   [](const Token &token) { return token.kind == Kind::Question; });
    Placement placement = RangeParser(text, tokens, scale, doubt).read(zone);
    placement.uncertain = doubt;
    return placement;
}

bool beginsRange(QStringView text, const Tokens &tokens, int at, const TimeScale &scale)
{
    return RangeParser(text, tokens, scale).beginsAt(at);
}

} // namespace fosdat::strata
