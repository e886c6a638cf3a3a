#include "EntryParts.h"

#include "TimeScale.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <bit>

namespace fosdat::strata
{

namespace
{

using Kind = TokenKind;
using tokens::find;
using tokens::isBlank;
using tokens::isDigit;
using tokens::skipBlanks;

// The reference lists number their entries from 1 to this.
constexpr int MaxReferenceNumber = 1200;
// Years of authorship lie within these; a range holds no such number.
constexpr int FirstYear = 1700;
constexpr int LastYear = 2100;

// Lower-case words an author's name may hold: "Smith et al.", "de Koninck",
// "Иванов и Петров".
constexpr auto NameParticles =
    std::to_array<QStringView>({u"et", u"al", u"and", u"in", u"de", u"der", u"den", u"du", u"da",
                                u"di", u"la", u"le", u"von", u"van", u"ten", u"ter", u"y", u"и"});

bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isAsciiLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

// Blanks, and the punctuation that stands around a range: ": K (Camp)."
bool isZoneEdge(QChar c)
{
    return isBlank(c) || c == u':' || c == u';' || c == u',' || c == u'.';
}

TextSpan trimmedZone(QStringView text, qsizetype from, qsizetype to)
{
    while (from < to && isZoneEdge(text[from]))
        ++from;
    while (to > from && isZoneEdge(text[to - 1]))
        --to;
    return TextSpan::between(from, to);
}

TextSpan trimmedAuthor(QStringView text, qsizetype from, qsizetype to)
{
    from = skipBlanks(text, from, to);
    while (to > from && (isBlank(text[to - 1]) || text[to - 1] == u',' || text[to - 1] == u';' ||
                         text[to - 1] == u':'))
        --to;
    return TextSpan::between(from, to);
}

// "†Aus" (extinct), "‡Aus", "*Aus", "?Aus" (placed with doubt).
bool isMarkBeforeName(QChar c)
{
    return c == u'\u2020' || c == u'\u2021' || c == u'*' || c == u'?';
}

// A capitalised Latin word at text[at] ("Acanthoceras", with soft hyphens
// "Acantho\u00adceras"): its end, or `at` where there is none.
qsizetype latinNameEnd(QStringView text, qsizetype at, qsizetype end)
{
    if (at + 1 >= end || !isAsciiUpper(text[at]) || !isAsciiLower(text[at + 1]))
        return at;
    qsizetype i = at + 2;
    while (i < end && (isAsciiLower(text[i]) || tokens::isSoftHyphen(text[i])))
        ++i;
    return i < end && (tokens::isLetter(text[i]) || text[i].isNumber()) ? at : i;
}

// Compared here rather than by QStringView::endsWith(), which costs a call
// into Qt for each of the few letters: every line asks it three times.
bool endsIn(QStringView name, QStringView ending)
{
    return name.size() > ending.size() &&
           std::equal(ending.begin(), ending.end(), name.end() - ending.size());
}

// "(206, 553, 1020)" at text[open]: numbers of 1 to MaxReferenceNumber
// without a leading zero, separated by a comma or semicolon with blanks
// around it or by blanks alone, nothing else; as the reference links of the
// catalogue view find them. Its closing parenthesis, or -1.
qsizetype referencesClose(QStringView text, qsizetype open, qsizetype end)
{
    qsizetype i = skipBlanks(text, open + 1, end);
    for (;;) {
        if (i >= end || text[i] < u'1' || text[i] > u'9')
            return -1;
        int value = 0;
        for (const qsizetype first = i; i < end && isDigit(text[i]); ++i) {
            value = value * 10 + (text[i].unicode() - u'0');
            if (i - first >= 4 || value > MaxReferenceNumber)
                return -1;
        }
        const qsizetype next = skipBlanks(text, i, end);
        if (next < end && text[next] == u')')
            return next;
        if (next < end && (text[next] == u',' || text[next] == u';'))
            i = skipBlanks(text, next + 1, end);
        else if (next > i)
            i = next;
        else
            return -1;
    }
}

// A note of an entry's order or family, and where it stands.
struct Note {
    qsizetype start = 0;
    qsizetype end = 0;
    TextSpan order;
    TextSpan family;
    bool familyUncertain = false;
};

enum class NoteWord { None, Order, Family };

// "отр." or "сем." at text[at], in any letter case, after no letter.
NoteWord noteWordAt(QStringView text, qsizetype at, qsizetype end)
{
    const QChar c = text[at];
    if ((c != u'о' && c != u'О' && c != u'с' && c != u'С') || at + 4 > end ||
        text[at + 3] != u'.' || (at > 0 && text[at - 1].isLetter()))
        return NoteWord::None;
    // The word's letters, small Cyrillic ones, compared with their capitals
    // by hand; what lies past the basic Cyrillic letters by Qt's folding.
    const auto is = [&](QStringView word) {
        for (qsizetype i = 0; i < word.size(); ++i) {
            const char16_t u = text[at + i].unicode();
            if (u != word[i].unicode() && u != word[i].unicode() - 0x20)
                return u >= 0x500 &&
                       text.sliced(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
        }
        return true;
    };
    return is(u"отр") ? NoteWord::Order : is(u"сем") ? NoteWord::Family : NoteWord::None;
}

// The end of the letters at text[at].
qsizetype wordEnd(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && tokens::isLetter(text[at]))
        ++at;
    return at;
}

// The end of a name at text[at]: one word, or the two of "incertae sedis"
// (of no known family or order).
qsizetype noteNameEnd(QStringView text, qsizetype at, qsizetype end)
{
    const qsizetype wordAt = wordEnd(text, at, end);
    constexpr QStringView Incertae = u"incertae";
    if (wordAt - at != Incertae.size() ||
        text.sliced(at, wordAt - at).compare(Incertae, Qt::CaseInsensitive) != 0)
        return wordAt;
    const qsizetype next = skipBlanks(text, wordAt, end);
    const qsizetype nextEnd = wordEnd(text, next, end);
    return next > wordAt &&
                   text.sliced(next, nextEnd - next).compare(u"sedis", Qt::CaseInsensitive) == 0
               ? nextEnd
               : wordAt;
}

// The name after "сем." at text[at]: "Xidae", "?Xidae" or "Xidae?" (placed
// with doubt), "incertae sedis". Where it ends.
qsizetype readNoteName(QStringView text, qsizetype at, qsizetype end, NoteWord word, Note &note)
{
    qsizetype i = skipBlanks(text, at + 4, end);
    bool doubt = i < end && text[i] == u'?';
    i += doubt ? 1 : 0;
    const qsizetype nameAt = i;
    i = noteNameEnd(text, i, end);
    const TextSpan name = TextSpan::between(nameAt, i);
    if (i < end && text[i] == u'?') {
        doubt = true;
        ++i;
    }
    if (word == NoteWord::Order && note.order.isEmpty()) {
        note.order = name;
    } else if (word == NoteWord::Family && note.family.isEmpty()) {
        note.family = name;
        note.familyUncertain = doubt && !name.isEmpty();
    }
    return i;
}

// The first closing parenthesis and bracket of a stretch after a place,
// found again only once that place has passed it: a line of many open
// brackets is searched once.
class Closings
{
public:
    explicit Closings(QStringView text, qsizetype to) : m_text(text), m_to(to) {}

    // The parenthesis or bracket that closes the one opened at text[open];
    // -1 where none does.
    qsizetype after(qsizetype open)
    {
        const bool bracket = m_text[open] == u'[';
        qsizetype &next = bracket ? m_bracket : m_parenthesis;
        if (next == NotSearched || (next >= 0 && next <= open)) {
            const qsizetype at = find(m_text, open + 1, m_to, bracket ? u']' : u')');
            next = at == m_to ? -1 : at;
        }
        return next;
    }

private:
    QStringView m_text;
    qsizetype m_to;
    static constexpr qsizetype NotSearched = -2; // -1: none after the last search
    qsizetype m_bracket = NotSearched;
    qsizetype m_parenthesis = NotSearched;
};

using Notes = QVarLengthArray<Note, 2>;

// The bracket open at text[at] and not closed before it, looked for back to
// `from`; -1 where there is none.
qsizetype openBefore(QStringView text, qsizetype from, qsizetype at)
{
    while (at > from) {
        const QChar c = text[--at];
        if (c == u'(' || c == u'[')
            return at;
        if (c == u')' || c == u']')
            return -1;
    }
    return -1;
}

// The notes of text[from, to): a bracket that holds "отр." or "сем." is a note
// whole ("[отр. Xida, сем. Xidae]", "(сем. Xidae)"), with every order and
// family it names; elsewhere a note is the word and the name after it. The
// words are found by their dots, which an entry holds few of.
Notes readNotes(QStringView text, qsizetype from, qsizetype to)
{
    Notes notes;
    Closings closings(text, to);
    qsizetype after = from; // where the last note ended
    for (qsizetype dot = from; dot < to; ++dot) {
        dot = find(text, dot, to, u'.');
        if (dot == to)
            break;
        const qsizetype at = dot - 3;
        if (at < after)
            continue;
        const NoteWord word = noteWordAt(text, at, to);
        if (word == NoteWord::None)
            continue;
        Note note;
        const qsizetype open = openBefore(text, after, at);
        const qsizetype close = open >= 0 ? closings.after(open) : -1;
        if (close < 0) {
            note.start = at;
            note.end = readNoteName(text, at, to, word, note);
        } else {
            note.start = open;
            note.end = close + 1;
            for (qsizetype i = at; i < close; ++i) {
                if (const NoteWord inner = noteWordAt(text, i, close); inner != NoteWord::None)
                    i = readNoteName(text, i, close, inner, note) - 1;
            }
        }
        notes.append(note);
        after = note.end;
        dot = note.end - 1;
    }
    return notes;
}

// A year of authorship: four digits from FirstYear to LastYear.
bool isYear(QStringView text, const Token &token)
{
    if (token.kind != Kind::Number || token.end - token.start != 4)
        return false;
    int year = 0;
    for (qsizetype i = token.start; i < token.end; ++i)
        year = year * 10 + (text[i].unicode() - u'0');
    return year >= FirstYear && year <= LastYear;
}

// What may stand in the name of an author given without a year:
// capitalised words, particles, initials' dots, "&", commas, apostrophes,
// hyphens within a name. No parentheses: "Jur (Camp)" is a period code and
// its stage; no code of the present ("Rec"), where a range ends.
bool mayBeInName(QStringView text, const Tokens &tokens, int at, const TimeScale &scale)
{
    const Token &token = tokens[at];
    const QStringView word = text.sliced(token.start, token.end - token.start);
    switch (token.kind) {
    case Kind::Word:
        if (word.size() > 1 && scale.isPresent(word))
            return false;
        return word.front().isUpper() ||
               std::find(NameParticles.begin(), NameParticles.end(), word) != NameParticles.end();
    case Kind::Dot:
        return true;
    case Kind::Other:
        return word == u"," || word == u"&" || word == u"'" || word == u"\u2019";
    case Kind::Dash:
        return !token.spaceBefore && at + 1 < tokens.size() && !tokens[at + 1].spaceBefore &&
               tokens[at + 1].kind == Kind::Word;
    default:
        return false;
    }
}

// An author without a year before a range in tokens [0, size): the token the
// range begins at, where every token before it may stand in a name and the
// range begins neither with a stage in parentheses (after a word, that is
// the word's stage: "Jur (Camp)") nor after a dash ("Xyzz - Camp"). `size` where the whole
// stretch is a name, -1 where it is none.
int rangeAfterName(QStringView text, const Tokens &tokens, const TimeScale &scale)
{
    for (int at = 0; at < tokens.size(); ++at) {
        if (at > 0 && tokens[at].kind != Kind::Open && tokens[at - 1].kind != Kind::Dash &&
            beginsRange(text, tokens, at, scale))
            return at;
        if (!mayBeInName(text, tokens, at, scale))
            return -1;
    }
    return int(tokens.size());
}

// After the year: the last year of a work in parts ("1899-1900"), a letter
// ("1975a"), and what closes the author ("),", "[1900]").
int authorEndAfterYear(QStringView text, const Tokens &tokens, int year)
{
    int at = year + 1;
    if (at + 1 < tokens.size() && tokens[at].kind == Kind::Dash && !tokens[at].spaceBefore &&
        !tokens[at + 1].spaceBefore && isYear(text, tokens[at + 1]))
        at += 2;
    if (at < tokens.size() && tokens[at].kind == Kind::Word && !tokens[at].spaceBefore &&
        tokens[at].end - tokens[at].start == 1)
        ++at;
    for (; at < tokens.size(); ++at) {
        const Token &token = tokens[at];
        const QChar c = text[token.start];
        if (token.kind != Kind::Close && token.kind != Kind::Dot && c != u',' && c != u';' &&
            c != u':' && c != u']')
            break;
    }
    return at;
}

// Splits text[from, to), the stretch after the name and before the first
// note or the references, whose tokens are `tokens`, into the author and
// what follows it. `more`: text follows the first note, so a stretch without
// a year is an author or nothing.
std::pair<TextSpan, qsizetype> splitAuthor(QStringView text, qsizetype from, qsizetype to,
                                           const Tokens &tokens, bool more, const TimeScale &scale)
{
    if (tokens.isEmpty() || beginsRange(text, tokens, 0, scale))
        return {{}, from};
    // Where what follows the author begins: at tokens[at].
    const auto restAt = [&](int at) { return at < tokens.size() ? tokens[at].start : to; };
    for (int at = 0; at < tokens.size(); ++at) {
        if (!isYear(text, tokens[at]))
            continue;
        // The punctuation that ends the author is none of it: "Ashby, 1900. K".
        const int rest = authorEndAfterYear(text, tokens, at);
        int last = rest - 1;
        while (last > at && isZoneEdge(text[tokens[last].start]))
            --last;
        return {trimmedAuthor(text, from, tokens[last].end), restAt(rest)};
    }
    const int range = rangeAfterName(text, tokens, scale);
    if (range < 0 || (more && range < tokens.size()))
        return {{}, from};
    return {trimmedAuthor(text, from, restAt(range)), restAt(range)};
}

struct HeadingWord {
    QStringView word;
    Rank rank;
};

// Compared ignoring letter case; a word ending in a dot must be followed by
// it.
constexpr auto HeadingWords = std::to_array<HeadingWord>({
    {u"класс", Rank::Class},
    {u"class", Rank::Class},
    {u"подкласс", Rank::Subclass},
    {u"subclass", Rank::Subclass},
    {u"надотряд", Rank::Suborder},
    {u"superorder", Rank::Suborder},
    {u"отряд", Rank::Order},
    {u"отр.", Rank::Order},
    {u"order", Rank::Order},
    {u"подотряд", Rank::Suborder},
    {u"suborder", Rank::Suborder},
    {u"надсемейство", Rank::Superfamily},
    {u"superfamily", Rank::Superfamily},
    {u"семейство", Rank::Family},
    {u"сем.", Rank::Family},
    {u"family", Rank::Family},
    {u"fam.", Rank::Family},
    {u"подсемейство", Rank::Subfamily},
    {u"subfamily", Rank::Subfamily},
});

// Where a heading word may begin: a small Latin or basic Cyrillic letter, or
// its capital, as a slot of HeadingStarts; -1 for every other character.
constexpr int startSlot(char16_t u)
{
    if (u >= u'A' && u <= u'Z')
        return u - u'A';
    if (u >= u'a' && u <= u'z')
        return u - u'a';
    if (u >= 0x410 && u < 0x450) // "А" to "я"
        return 26 + (u - 0x410) % 32;
    return -1;
}

// The heading words each letter begins, one bit each: most lines begin with a
// genus name, and most of those with a letter no heading word begins with.
constexpr auto HeadingStarts = [] {
    std::array<quint32, 26 + 32> starts{};
    static_assert(HeadingWords.size() <= 32);
    for (std::size_t i = 0; i < HeadingWords.size(); ++i)
        starts[std::size_t(startSlot(HeadingWords[i].word.front().unicode()))] |= 1u << i;
    return starts;
}();

QChar lower(QChar c)
{
    return c.unicode() < 0x80 ? QChar(c.toLatin1() | (c.isUpper() ? 0x20 : 0)) : c.toLower();
}

bool isCyrillic(QChar c)
{
    return c.unicode() >= 0x400 && c.unicode() < 0x530;
}

// A word of two or more letters, all of them capitals.
bool isCapitals(QStringView word)
{
    return word.size() > 1 &&
           std::none_of(word.begin(), word.end(), [](QChar c) { return c.isLower(); });
}

// The name a heading gives after its word: "Acanthoceratidae" of
// "Семейство Acanthoceratidae Hyatt, 1900"; «Морские лилии» of "Класс
// Морские лилии (Crinoidea)", a Russian name running on in lower-case words,
// with the Latin name in parentheses after it; the rest of the line where no
// capitalised name follows ("incertae sedis"). A "?" before or after the
// name places it with doubt: "?Xidae", "Xidae?".
Heading headingName(Rank rank, QStringView text, qsizetype at, qsizetype end)
{
    Heading heading{rank, {}, {}};
    qsizetype nameAt = skipBlanks(text, at, end);
    if (nameAt < end && text[nameAt] == u'?') {
        heading.uncertain = true;
        nameAt = skipBlanks(text, nameAt + 1, end);
    }
    qsizetype nameEnd = wordEnd(text, nameAt, end);
    if (nameEnd == nameAt || !text[nameAt].isUpper()) {
        while (end > nameAt && isBlank(text[end - 1]))
            --end;
        heading.name = TextSpan::between(nameAt, end);
        return heading;
    }
    // In a heading written in capitals ("КЛАСС МОРСКИЕ ЛИЛИИ (CRINOIDEA)"),
    // the name runs on in words of capitals.
    const bool capitals = isCapitals(text.sliced(nameAt, nameEnd - nameAt));
    while (isCyrillic(text[nameAt])) {
        const qsizetype next = skipBlanks(text, nameEnd, end);
        const qsizetype nextEnd = wordEnd(text, next, end);
        if (nextEnd == next || !isCyrillic(text[next]) ||
            !(text[next].isLower() || (capitals && isCapitals(text.sliced(next, nextEnd - next)))))
            break;
        nameEnd = nextEnd;
    }
    heading.name = TextSpan::between(nameAt, nameEnd);
    if (nameEnd < end && text[nameEnd] == u'?') {
        heading.uncertain = true;
        ++nameEnd;
    }
    const qsizetype open = skipBlanks(text, nameEnd, end);
    if (open < end && text[open] == u'(') {
        const qsizetype latinEnd = wordEnd(text, open + 1, end);
        if (latinEnd > open + 1 && latinEnd < end && text[latinEnd] == u')' &&
            text[open + 1].unicode() < 0x80)
            heading.latin = TextSpan::between(open + 1, latinEnd);
    }
    return heading;
}

} // namespace

std::optional<Heading> readHeading(QStringView text, qsizetype at, qsizetype end)
{
    const int slot = startSlot(text[at].unicode());
    if (slot < 0 || at + 1 >= end)
        return std::nullopt;
    const QChar second = lower(text[at + 1]);
    for (quint32 words = HeadingStarts[std::size_t(slot)]; words != 0; words &= words - 1) {
        const HeadingWord &heading = HeadingWords[std::size_t(std::countr_zero(words))];
        const qsizetype after = at + heading.word.size();
        if (after > end || heading.word[1] != second ||
            text.sliced(at, heading.word.size()).compare(heading.word, Qt::CaseInsensitive) != 0 ||
            (after < end && text[after].isLetter()))
            continue;
        return headingName(heading.rank, text, after, end);
    }
    return std::nullopt;
}

Rank rankOfName(QStringView name)
{
    return name.endsWith(u"idae")   ? Rank::Family
           : name.endsWith(u"inae") ? Rank::Subfamily
                                    : Rank::Superfamily;
}

std::optional<GenusName> readGenusName(QStringView text, qsizetype at, qsizetype end,
                                       const TimeScale &scale)
{
    while (at < end && (isMarkBeforeName(text[at]) || isBlank(text[at])))
        ++at;
    const qsizetype nameEnd = latinNameEnd(text, at, end);
    if (nameEnd == at || (nameEnd < end && text[nameEnd] == u'.'))
        return std::nullopt;
    const bool colon = nameEnd < end && text[nameEnd] == u':';
    const QStringView name = text.sliced(at, nameEnd - at);
    if (endsIn(name, u"idae") || endsIn(name, u"inae") || endsIn(name, u"oidea")) {
        if (colon) // "Ausidae: ...", neither a heading nor an entry
            return std::nullopt;
        return GenusName{TextSpan::between(at, nameEnd), true};
    }
    if (colon)
        return GenusName{TextSpan::between(at, nameEnd), false, true};
    qsizetype genusEnd = nameEnd;
    const qsizetype subAt = skipBlanks(text, nameEnd, end);
    if (subAt < end && text[subAt] == u'(') {
        const qsizetype subEnd = latinNameEnd(text, subAt + 1, end);
        if (subEnd > subAt + 1 && subEnd < end && text[subEnd] == u')' &&
            !scale.unit(text.sliced(subAt + 1, subEnd - subAt - 1)))
            genusEnd = subEnd + 1;
    }
    return GenusName{TextSpan::between(at, genusEnd), false};
}

EntryParts readEntryParts(QStringView text, qsizetype nameEnd, qsizetype end,
                          const TimeScale &scale)
{
    EntryParts parts;
    qsizetype bodyEnd = end;
    qsizetype close = -1;
    for (qsizetype at = nameEnd; at < end && close < 0; ++at) {
        at = find(text, at, end, u'(');
        if (at == end)
            break;
        if ((close = referencesClose(text, at, end)) >= 0)
            bodyEnd = at;
    }
    if (close >= 0) {
        parts.hasReferences = true;
        parts.references = trimmedAuthor(text, bodyEnd + 1, close);
    }
    Notes notes = readNotes(text, nameEnd, bodyEnd);
    // The stretches outside the notes before the references: the first holds
    // the author, and the range stands in one of them.
    QVarLengthArray<TextSpan, 4> outside;
    qsizetype start = nameEnd;
    for (const Note &note : notes) {
        outside.append(TextSpan::between(start, note.start));
        start = note.end;
    }
    outside.append(TextSpan::between(start, bodyEnd));
    // A note after the references holds at least "сем." and a letter; most
    // entries end in a dot there.
    if (close >= 0 && end - close > 5) {
        for (const Note &note : readNotes(text, close + 1, end))
            notes.append(note);
    }
    for (const Note &note : notes) {
        if (parts.order.isEmpty())
            parts.order = note.order;
        if (parts.family.isEmpty()) {
            parts.family = note.family;
            parts.familyUncertain = note.familyUncertain;
        }
    }
    bool more = false;
    for (qsizetype i = 1; i < outside.size(); ++i) {
        outside[i] = trimmedZone(text, outside[i].start, outside[i].end());
        more = more || !outside[i].isEmpty();
    }
    const Tokens tokens = tokenize(text, nameEnd, outside[0].end());
    const auto [author, rest] = splitAuthor(text, nameEnd, outside[0].end(), tokens, more, scale);
    parts.author = author;
    outside[0] = trimmedZone(text, rest, outside[0].end());
    // Text in more than one stretch is no range: the zone spans all of them.
    qsizetype zoneStart = -1;
    qsizetype zoneEnd = -1;
    for (const TextSpan &stretch : outside) {
        if (!stretch.isEmpty()) {
            zoneStart = zoneStart < 0 ? stretch.start : zoneStart;
            zoneEnd = stretch.end();
        }
    }
    if (zoneStart >= 0)
        parts.zone = TextSpan::between(zoneStart, zoneEnd);
    // A zone within the author's stretch, as most are, has its tokens among
    // that stretch's: they are taken, not made again. They are the tokens
    // the zone alone gives, but for the blank its first may have before it,
    // which the range's reading never asks.
    qsizetype first = 0;
    qsizetype after = 0;
    if (!parts.zone.isEmpty() && zoneEnd <= outside[0].end()) {
        while (first < tokens.size() && tokens[first].start < zoneStart)
            ++first;
        for (after = first; after < tokens.size() && tokens[after].end <= zoneEnd;)
            ++after;
    }
    parts.placement =
        after > first
            ? readRange(text, parts.zone, std::span(tokens.data() + first, after - first), scale)
            : readRange(text, parts.zone, scale);
    return parts;
}

} // namespace fosdat::strata
