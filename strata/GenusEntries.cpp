#include "GenusEntries.h"

#include "TimeScale.h"

#include <array>

namespace fosdat::strata
{

namespace
{

// What a heading line names, and so which of the class, order and family
// above it end there.
enum class Rank { Class, Subclass, Order, Suborder, Superfamily, Family, Subfamily };

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

constexpr QStringView Annotation = u"сем.";

bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isAsciiLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

qsizetype skipSpaces(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && text[at].isSpace())
        ++at;
    return at;
}

qsizetype wordEnd(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && (text[at].isLetter() || text[at].isMark()))
        ++at;
    return at;
}

// A capitalised Latin word ("Acanthoceras"): its end, or `at` when there is
// none.
qsizetype latinNameEnd(QStringView text, qsizetype at, qsizetype end)
{
    if (at + 1 >= end || !isAsciiUpper(text[at]) || !isAsciiLower(text[at + 1]))
        return at;
    qsizetype i = at + 2;
    while (i < end && isAsciiLower(text[i]))
        ++i;
    return i < end && (text[i].isLetterOrNumber() || text[i].isMark()) ? at : i;
}

// "206, 553, 1020": numbers of 1 to 1200 separated by commas, semicolons or
// blanks, nothing else.
bool isReferenceList(QStringView inside)
{
    int numbers = 0;
    for (qsizetype i = 0; i < inside.size();) {
        const QChar c = inside[i];
        if (c == u',' || c == u';' || c.isSpace()) {
            ++i;
            continue;
        }
        if (c < u'1' || c > u'9')
            return false;
        int value = 0;
        for (; i < inside.size() && inside[i] >= u'0' && inside[i] <= u'9' && value <= 1200; ++i)
            value = value * 10 + (inside[i].unicode() - u'0');
        if (value > 1200)
            return false;
        ++numbers;
    }
    return numbers > 0;
}

// The first parenthesised list of references in text[from, end): the span
// within the parentheses, or a span starting at -1.
TextSpan findReferences(QStringView text, qsizetype from, qsizetype end)
{
    for (qsizetype open = from; open < end; ++open) {
        if (text[open] != u'(')
            continue;
        qsizetype close = open + 1;
        while (close < end && text[close] != u')' && text[close] != u'(')
            ++close;
        if (close < end && text[close] == u')' &&
            isReferenceList(text.sliced(open + 1, close - open - 1)))
            return {open + 1, close - open - 1};
    }
    return {-1, 0};
}

TextSpan trimmed(QStringView text, qsizetype from, qsizetype to)
{
    while (from < to && text[from].isSpace())
        ++from;
    while (to > from && (text[to - 1].isSpace() || text[to - 1] == u',' || text[to - 1] == u';'))
        --to;
    return {from, to - from};
}

} // namespace

class EntryReader
{
public:
    EntryReader(int group, const QString &text, const TimeScale &scale)
        : m_group(group), m_text(text), m_scale(scale)
    {
    }

    QList<GenusEntry> read();

private:
    void readLine(qsizetype start, qsizetype end);
    bool readHeading(qsizetype at, qsizetype end);
    void setRank(Rank rank, const QString &name);
    bool readEntry(qsizetype start, qsizetype at, qsizetype end);
    TextSpan annotation(qsizetype from, qsizetype end, QString *family) const;
    RangeReading rangeOf(qsizetype from, qsizetype to, TextSpan note) const;

    int m_group;
    const QString &m_text;
    const TimeScale &m_scale;
    QList<GenusEntry> m_entries;
    QString m_family, m_order, m_class;
    int m_line = 0;
    int m_paragraph = 0;
    qsizetype m_paragraphStart = 0;
};

QList<GenusEntry> EntryReader::read()
{
    const QStringView text(m_text);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool paragraphEnd = i == text.size() || text[i] == u'\n';
        if (!paragraphEnd && text[i] != QChar::LineSeparator)
            continue;
        ++m_line;
        readLine(start, i);
        start = i + 1;
        if (paragraphEnd) {
            ++m_paragraph;
            m_paragraphStart = start;
        }
    }
    return std::move(m_entries);
}

void EntryReader::readLine(qsizetype start, qsizetype end)
{
    const QStringView text(m_text);
    const qsizetype at = skipSpaces(text, start, end);
    if (at == end || text[at] == u'=') // empty, or a synonym
        return;
    if (!readHeading(at, end))
        readEntry(start, at, end);
}

void EntryReader::setRank(Rank rank, const QString &name)
{
    switch (rank) {
    case Rank::Class:
        m_class = name;
        [[fallthrough]];
    case Rank::Subclass:
        m_order.clear();
        m_family.clear();
        break;
    case Rank::Order:
        m_order = name;
        [[fallthrough]];
    case Rank::Suborder:
    case Rank::Superfamily:
        m_family.clear();
        break;
    case Rank::Family:
        m_family = name;
        break;
    case Rank::Subfamily:
        break;
    }
}

// "Семейство Acanthoceratidae Hyatt, 1900": the first word after the heading
// word, or the rest of the line where that is not a name ("incertae sedis").
bool EntryReader::readHeading(qsizetype at, qsizetype end)
{
    const QStringView text(m_text);
    const QChar first = text[at].toLower();
    for (const HeadingWord &heading : HeadingWords) {
        const qsizetype after = at + heading.word.size();
        if (first != heading.word[0] || after > end ||
            text.sliced(at, heading.word.size()).compare(heading.word, Qt::CaseInsensitive) != 0 ||
            (after < end && (text[after].isLetter() || text[after].isMark())))
            continue;
        const qsizetype nameAt = skipSpaces(text, after, end);
        const qsizetype nameEnd = wordEnd(text, nameAt, end);
        const bool named = nameEnd > nameAt && text[nameAt].isUpper();
        const TextSpan name =
            named ? TextSpan{nameAt, nameEnd - nameAt} : trimmed(text, nameAt, end);
        setRank(heading.rank, name.in(text).toString());
        return true;
    }
    return false;
}

// "сем. Acanthoceratidae" or "(сем. Acanthoceratidae)" within an entry.
TextSpan EntryReader::annotation(qsizetype from, qsizetype end, QString *family) const
{
    const QStringView text(m_text);
    qsizetype at = from;
    // A plain scan: most lines hold no Cyrillic letter at all.
    for (; at + Annotation.size() <= end; ++at) {
        if ((text[at] == u'с' || text[at] == u'С') &&
            text.sliced(at, Annotation.size()).compare(Annotation, Qt::CaseInsensitive) == 0 &&
            (at == 0 || !text[at - 1].isLetter()))
            break;
    }
    if (at + Annotation.size() > end)
        return {-1, 0};
    const qsizetype nameAt = skipSpaces(text, at + Annotation.size(), end);
    qsizetype stop = wordEnd(text, nameAt, end);
    *family = text.sliced(nameAt, stop - nameAt).toString();
    qsizetype start = at;
    const qsizetype before = start - 1;
    if (before >= from && text[before] == u'(' && stop < end && text[stop] == u')') {
        start = before;
        ++stop;
    }
    return {start, stop - start};
}

// The range between the name and the references; an annotation inside that
// stretch is not part of it, and the range may stand on either side of it.
RangeReading EntryReader::rangeOf(qsizetype from, qsizetype to, TextSpan note) const
{
    if (note.start < 0 || note.start >= to)
        return readRange(m_text, from, to, m_scale);
    const RangeReading before = readRange(m_text, from, note.start, m_scale);
    if (!before.range.isEmpty())
        return before;
    const RangeReading after = readRange(m_text, note.end(), to, m_scale);
    return after.placement.reason == Reason::NoRange ? before : after;
}

bool EntryReader::readEntry(qsizetype start, qsizetype at, qsizetype end)
{
    const QStringView text(m_text);
    qsizetype nameAt = at;
    while (nameAt < end && (QStringView(u"†‡*?").contains(text[nameAt]) || text[nameAt].isSpace()))
        ++nameAt;
    const qsizetype nameEnd = latinNameEnd(text, nameAt, end);
    if (nameEnd == nameAt || (nameEnd < end && (text[nameEnd] == u'.' || text[nameEnd] == u':')))
        return false;
    const QStringView name = text.sliced(nameAt, nameEnd - nameAt);
    if (name.endsWith(u"idae") || name.endsWith(u"inae") || name.endsWith(u"oidea")) {
        setRank(name.endsWith(u"idae")   ? Rank::Family
                : name.endsWith(u"inae") ? Rank::Subfamily
                                         : Rank::Superfamily,
                name.toString());
        return false;
    }
    qsizetype genusEnd = nameEnd;
    const qsizetype subAt = skipSpaces(text, nameEnd, end);
    if (subAt < end && text[subAt] == u'(') {
        const qsizetype subEnd = latinNameEnd(text, subAt + 1, end);
        if (subEnd > subAt + 1 && subEnd < end && text[subEnd] == u')' &&
            !m_scale.unit(text.sliced(subAt + 1, subEnd - subAt - 1)))
            genusEnd = subEnd + 1;
    }

    const TextSpan references = findReferences(text, genusEnd, end);
    const qsizetype zoneEnd = references.start >= 0 ? references.start - 1 : end;
    QString ownFamily;
    const TextSpan note = annotation(genusEnd, end, &ownFamily);
    const RangeReading reading = rangeOf(genusEnd, zoneEnd, note);
    const Reason reason = reading.placement.reason;
    if (references.start < 0 && (reason == Reason::NoRange || reason == Reason::Unreadable)) {
        // Prose that happens to begin with a capitalised word.
        const qsizetype next = skipSpaces(text, genusEnd, end);
        if (next < end && text[next].isLower())
            return false;
    }

    GenusEntry entry;
    entry.group = m_group;
    entry.line = m_line;
    entry.paragraph = m_paragraph;
    entry.offset = int(nameAt - m_paragraphStart);
    entry.family = note.start >= 0 && !ownFamily.isEmpty() ? ownFamily : m_family;
    entry.order = m_order;
    entry.className = m_class;
    entry.placement = reading.placement;
    entry.m_text = m_text;
    entry.m_line = {start, end - start};
    entry.m_genus = {nameAt, genusEnd - nameAt};
    const qsizetype authorEnd = !reading.range.isEmpty()       ? reading.range.start
                                : reason == Reason::Unreadable ? reading.placement.code.start
                                                               : zoneEnd;
    const qsizetype authorStop =
        note.start >= genusEnd && note.start < authorEnd ? note.start : authorEnd;
    entry.m_author = trimmed(text, genusEnd, authorStop);
    entry.m_range = reading.range;
    entry.m_references = references.start >= 0 ? references : TextSpan{};
    m_entries.append(entry);
    return true;
}

QList<GenusEntry> readGenusEntries(int group, const QString &text, const TimeScale &scale)
{
    return EntryReader(group, text, scale).read();
}

} // namespace fosdat::strata
