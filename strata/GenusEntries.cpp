#include "GenusEntries.h"

#include "CharScan.h"
#include "TimeScale.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

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

// The heading words that begin with `first` (in lower case), as bits in
// their order: most lines begin with a genus name, whose first letter begins
// few heading words or none.
quint32 headingWordsBeginningWith(QChar first)
{
    static_assert(HeadingWords.size() <= 32);
    static constexpr auto AsciiInitials = [] {
        std::array<quint32, 128> words{};
        for (std::size_t i = 0; i < HeadingWords.size(); ++i) {
            if (HeadingWords[i].word[0].unicode() < 128)
                words[HeadingWords[i].word[0].unicode()] |= quint32(1) << i;
        }
        return words;
    }();
    if (first.unicode() < 128)
        return AsciiInitials[first.unicode()];
    quint32 words = 0;
    for (std::size_t i = 0; i < HeadingWords.size(); ++i)
        words |= HeadingWords[i].word[0] == first ? quint32(1) << i : 0;
    return words;
}

// Letters and marks (accents written apart), the non-ASCII ones looked up.
inline bool isLetterOrMark(QChar c)
{
    return c.isLetter() || (c.unicode() >= 128 && c.isMark());
}

inline bool isLetterNumberOrMark(QChar c)
{
    return c.isLetterOrNumber() || (c.unicode() >= 128 && c.isMark());
}

inline bool isAsciiUpper(char16_t c)
{
    return unsigned(c - u'A') < 26;
}

inline bool isAsciiLower(char16_t c)
{
    return unsigned(c - u'a') < 26;
}

// The rank a lone name ends in: "-idae" a family, "-inae" a subfamily,
// "-oidea" a superfamily; no genus name ends so.
std::optional<Rank> rankOfName(QStringView name)
{
    const auto endsIn = [&](QStringView ending) {
        return name.size() > ending.size() &&
               std::equal(ending.begin(), ending.end(), name.end() - ending.size());
    };
    if (name.back() == u'e')
        return endsIn(u"idae")   ? std::optional(Rank::Family)
               : endsIn(u"inae") ? std::optional(Rank::Subfamily)
                                 : std::nullopt;
    return name.back() == u'a' && endsIn(u"oidea") ? std::optional(Rank::Superfamily)
                                                   : std::nullopt;
}

// "†Aus" (extinct), "?Aus" (placed with doubt), "*Aus".
inline bool isMarkBeforeName(char16_t c)
{
    return c == u'\u2020' || c == u'\u2021' || c == u'*' || c == u'?';
}

// Lower case, at once for the Latin and Russian letters headings begin with.
inline QChar lower(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return isAsciiUpper(u) ? QChar(u + 32) : c;
    if (u >= 0x410 && u <= 0x42f)
        return QChar(u + 0x20);
    return c.toLower();
}

// Whether text[at, end) begins with `word` (in lower case), ignoring case;
// most lines differ in their first or second letter.
inline bool startsWithLower(QStringView text, qsizetype at, qsizetype end, QStringView word)
{
    if (end - at < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (text[at + i] != word[i] && lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

inline qsizetype skipSpaces(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && text[at].isSpace())
        ++at;
    return at;
}

// The end of a word of letters and marks: Latin names are ASCII letters.
inline qsizetype wordEnd(QStringView text, qsizetype at, qsizetype end)
{
    for (at = scan::asciiLetterEnd(text.utf16(), at, end); at < end && isLetterOrMark(text[at]);)
        at = scan::asciiLetterEnd(text.utf16(), at + 1, end);
    return at;
}

// A capitalised Latin word ("Acanthoceras"): its end, or `at` when there is
// none.
inline qsizetype latinNameEnd(QStringView text, qsizetype at, qsizetype end)
{
    const char16_t *chars = text.utf16();
    if (at + 1 >= end || !isAsciiUpper(chars[at]) || !isAsciiLower(chars[at + 1]))
        return at;
    const qsizetype i = scan::lowerCaseEnd(chars, at + 2, end);
    return i < end && isLetterNumberOrMark(text[i]) ? at : i;
}

// The first paragraph end or line break in chars[from, to), or `to`.
inline qsizetype lineEnd(const char16_t *chars, qsizetype from, qsizetype to)
{
    return scan::indexOfAny(chars, from, to, u'\n', QChar::LineSeparator, QChar::LineSeparator);
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

// Reads one catalogue's entries into a list, its ranges through a memo of
// those read before.
class EntryReader
{
public:
    EntryReader(int group, const QString &text, const TimeScale &scale, QList<GenusEntry> &entries,
                RangeMemo &ranges)
        : m_group(group), m_catalogue(std::make_shared<CatalogueText>()), m_scale(scale),
          m_entries(entries), m_ranges(ranges)
    {
        m_catalogue->text = text;
        m_text = m_catalogue->text;
    }

    void read();

private:
    void readLine(qsizetype start, qsizetype end);
    bool readHeading(qsizetype at, qsizetype end);
    void setRank(Rank rank, QStringView name);
    int intern(QStringView name);
    std::optional<TextSpan> genusName(qsizetype at, qsizetype end);
    bool readEntry(qsizetype start, qsizetype at, qsizetype end);
    struct Parts;
    bool quickParts(qsizetype from, qsizetype end, Parts &parts);
    void tokenParts(qsizetype from, qsizetype end, Parts &parts);
    std::pair<int, int> annotation(const Tokens &tokens, int *family);
    void annotationAfter(qsizetype from, qsizetype end, int *family);
    RangeReading rangeOf(Tokens &tokens, int to, std::pair<int, int> note);

    int m_group;
    std::shared_ptr<CatalogueText> m_catalogue;
    QStringView m_text;
    const TimeScale &m_scale;
    QList<GenusEntry> &m_entries;
    RangeMemo &m_ranges;
    CodeIndex m_names; // the catalogue's names, by views of them
    int m_lastName = -1;
    QStringView m_lastNameView; // the name m_lastName stands for
    int m_family = -1;
    int m_order = -1;
    int m_class = -1;
    int m_line = 0;
    int m_paragraph = 0;
    qsizetype m_paragraphStart = 0;
};

int EntryReader::intern(QStringView name)
{
    if (name.isEmpty())
        return -1;
    if (m_lastName >= 0 && name.size() == m_lastNameView.size() &&
        std::memcmp(name.utf16(), m_lastNameView.utf16(), sizeof(char16_t) * name.size()) == 0)
        return m_lastName; // a run of entries naming their family
    int found = m_names.find(name);
    if (found < 0) {
        found = int(m_catalogue->names.size());
        m_catalogue->names.append(name.toString());
        m_names.insertNew(m_catalogue->names.constLast(), found);
    }
    m_lastNameView = m_catalogue->names.at(found);
    return m_lastName = found;
}

// Lines end at a paragraph's end ('\n') or a line break within it.
void EntryReader::read()
{
    const char16_t *chars = m_text.utf16();
    const qsizetype size = m_text.size();
    for (qsizetype start = 0; start <= size;) {
        const qsizetype end = lineEnd(chars, start, size);
        ++m_line;
        readLine(start, end);
        if (end < size && chars[end] == u'\n') {
            ++m_paragraph;
            m_paragraphStart = end + 1;
        }
        start = end + 1;
    }
}

void EntryReader::readLine(qsizetype start, qsizetype end)
{
    const QStringView text = m_text;
    const qsizetype at = skipSpaces(text, start, end);
    if (at == end || text[at] == u'=') // empty, or a synonym
        return;
    if (!readHeading(at, end))
        readEntry(start, at, end);
}

void EntryReader::setRank(Rank rank, QStringView name)
{
    switch (rank) {
    case Rank::Class:
        m_class = intern(name);
        [[fallthrough]];
    case Rank::Subclass:
        m_order = -1;
        m_family = -1;
        break;
    case Rank::Order:
        m_order = intern(name);
        [[fallthrough]];
    case Rank::Suborder:
    case Rank::Superfamily:
        m_family = -1;
        break;
    case Rank::Family:
        m_family = intern(name);
        break;
    case Rank::Subfamily:
        break;
    }
}

// "Семейство Acanthoceratidae Hyatt, 1900": the first word after the heading
// word, or the rest of the line where that is not a name ("incertae sedis").
bool EntryReader::readHeading(qsizetype at, qsizetype end)
{
    const QStringView text = m_text;
    for (quint32 words = headingWordsBeginningWith(lower(text[at])); words != 0;
         words &= words - 1) {
        const HeadingWord &heading = HeadingWords[std::countr_zero(words)];
        const qsizetype after = at + heading.word.size();
        if (!startsWithLower(text, at, end, heading.word) ||
            (after < end && isLetterOrMark(text[after])))
            continue;
        const qsizetype nameAt = skipSpaces(text, after, end);
        const qsizetype nameEnd = wordEnd(text, nameAt, end);
        const bool named = nameEnd > nameAt && text[nameAt].isUpper();
        const TextSpan name =
            named ? TextSpan{nameAt, nameEnd - nameAt} : trimmed(text, nameAt, end);
        setRank(heading.rank, name.in(text));
        return true;
    }
    return false;
}

// "сем. Acanthoceratidae" or "(сем. Acanthoceratidae)" within an entry: the
// tokens it takes, [first, last).
std::pair<int, int> EntryReader::annotation(const Tokens &tokens, int *family)
{
    const QStringView text = m_text;
    for (int i = 0; i + 2 < tokens.size(); ++i) {
        const Token &word = tokens[i];
        if (word.kind != TokenKind::Word || word.end - word.start != 3 ||
            (text[word.start] != u'с' && text[word.start] != u'С') ||
            text.sliced(word.start, 3).compare(Annotation.first(3), Qt::CaseInsensitive) != 0 ||
            tokens[i + 1].kind != TokenKind::Dot || tokens[i + 1].spaceBefore)
            continue;
        int first = i;
        int last = i + 2;
        if (tokens[last].kind == TokenKind::Word)
            *family =
                intern(text.sliced(tokens[last].start, tokens[last].end - tokens[last].start));
        ++last;
        if (first > 0 && tokens[first - 1].kind == TokenKind::Open && last < tokens.size() &&
            tokens[last].kind == TokenKind::Close) {
            --first;
            ++last;
        }
        return {first, last};
    }
    return {-1, -1};
}

// "сем. Acanthoceratidae" after the references: a plain scan, as most lines
// hold no Cyrillic letter there.
void EntryReader::annotationAfter(qsizetype from, qsizetype end, int *family)
{
    const QStringView text = m_text;
    for (qsizetype at = from;
         (at = scan::indexOfAny(text.utf16(), at, end, u'с', u'С', u'С')) + Annotation.size() <=
         end;
         ++at) {
        if (!startsWithLower(text, at, end, Annotation) || (at > 0 && text[at - 1].isLetter()))
            continue;
        const qsizetype nameAt = skipSpaces(text, at + Annotation.size(), end);
        *family = intern(text.sliced(nameAt, wordEnd(text, nameAt, end) - nameAt));
        return;
    }
}

// The range between the name and the references; a note of the family inside
// that stretch is not part of it, and the range may stand on either side of
// it.
RangeReading EntryReader::rangeOf(Tokens &tokens, int to, std::pair<int, int> note)
{
    if (note.first < 0 || note.first >= to)
        return readRange(m_text, tokens, 0, to, m_scale, m_ranges);
    const RangeReading before = readRange(m_text, tokens, 0, note.first, m_scale, m_ranges);
    if (!before.range.isEmpty())
        return before;
    const RangeReading after =
        readRange(m_text, tokens, std::min(note.second, to), to, m_scale, m_ranges);
    return after.placement.reason == Reason::NoRange ? before : after;
}

// The genus name at text[at] (after "†" or "?"), with a subgenus "(Bus)":
// the span of both, or nothing where the line is not a genus entry's.
std::optional<TextSpan> EntryReader::genusName(qsizetype at, qsizetype end)
{
    const QStringView text = m_text;
    qsizetype nameAt = at;
    while (nameAt < end && (isMarkBeforeName(text[nameAt].unicode()) || text[nameAt].isSpace()))
        ++nameAt;
    const qsizetype nameEnd = latinNameEnd(text, nameAt, end);
    if (nameEnd == nameAt || (nameEnd < end && (text[nameEnd] == u'.' || text[nameEnd] == u':')))
        return std::nullopt;
    const QStringView name = text.sliced(nameAt, nameEnd - nameAt);
    // A lone "Acanthoceratidae" is a heading; no genus name ends so.
    if (const auto rank = rankOfName(name)) {
        setRank(*rank, name);
        return std::nullopt;
    }
    qsizetype genusEnd = nameEnd;
    const qsizetype subAt = skipSpaces(text, nameEnd, end);
    if (subAt < end && text[subAt] == u'(') {
        const qsizetype subEnd = latinNameEnd(text, subAt + 1, end);
        if (subEnd > subAt + 1 && subEnd < end && text[subEnd] == u')' &&
            !m_scale.unit(text.sliced(subAt + 1, subEnd - subAt - 1)))
            genusEnd = subEnd + 1;
    }
    return TextSpan{nameAt, genusEnd - nameAt};
}

// What stands after a genus name: its references, the range before them, and
// the family its own note names.
struct EntryReader::Parts {
    qsizetype references = -1; // the parentheses of the first list, or -1
    qsizetype referencesEnd = -1;
    qsizetype first = -1; // the first character after the name that is no blank
    RangeReading reading;
    qsizetype note = -1; // where a note of the family before the references begins
    int family = -1;
};

// Most entries hold no note of their family before their references, and a
// range read before: found from the characters, without cutting them into
// tokens. False where the entry needs reading by tokens.
bool EntryReader::quickParts(qsizetype from, qsizetype end, Parts &parts)
{
    const QStringView text = m_text;
    const char16_t *chars = text.utf16();
    qsizetype last = from; // the end of the stretch before the references
    for (; (last = scan::indexOfAny(chars, last, end, u'(', u'с', u'С')) < end; ++last) {
        if (chars[last] != u'(')
            return false; // a note of the family, maybe
        if (last + 1 < end && chars[last + 1] >= u'1' && chars[last + 1] <= u'9') {
            if (const qsizetype close = referencesClose(text, last, end); close >= 0) {
                parts.references = last;
                parts.referencesEnd = close;
                break;
            }
        }
    }
    while (last > from && tokens::isSpace(chars[last - 1]))
        --last;
    parts.first = from;
    while (parts.first < last && tokens::isSpace(chars[parts.first]))
        ++parts.first;
    return parts.first < last &&
           readRangeAfterAuthor(text, parts.first, last, m_scale, m_ranges, &parts.reading);
}

void EntryReader::tokenParts(qsizetype from, qsizetype end, Parts &parts)
{
    parts = {};
    Tokens tokens = tokenize(m_text, from, end, &parts.references, &parts.referencesEnd);
    const std::pair<int, int> note = annotation(tokens, &parts.family);
    parts.reading = rangeOf(tokens, int(tokens.size()), note);
    parts.first = tokens.isEmpty() ? -1 : tokens[0].start;
    parts.note = note.first >= 0 ? tokens[note.first].start : -1;
}

bool EntryReader::readEntry(qsizetype start, qsizetype at, qsizetype end)
{
    const QStringView text = m_text;
    const std::optional<TextSpan> genus = genusName(at, end);
    if (!genus)
        return false;
    // The range lies between the name and the first list of references.
    Parts parts;
    if (!quickParts(genus->end(), end, parts))
        tokenParts(genus->end(), end, parts);
    const RangeReading &reading = parts.reading;
    const Reason reason = reading.placement.reason;
    if (parts.references < 0 && (reason == Reason::NoRange || reason == Reason::Unreadable) &&
        parts.first >= 0 && text[parts.first].isLower())
        return false; // prose that happens to begin with a capitalised word
    int family = parts.family;
    if (parts.note < 0 && parts.references >= 0)
        annotationAfter(parts.referencesEnd + 1, end, &family);

    GenusEntry &entry = m_entries.emplace_back();
    entry.group = m_group;
    entry.line = m_line;
    entry.paragraph = m_paragraph;
    entry.offset = int(genus->start - m_paragraphStart);
    entry.m_family = family >= 0 ? family : m_family;
    entry.m_order = m_order;
    entry.m_class = m_class;
    entry.placement = reading.placement;
    entry.m_catalogue = m_catalogue;
    entry.m_line = TextSpan{start, end - start};
    entry.m_genus = *genus;
    // The author stands before the range, or whatever takes its place.
    qsizetype authorEnd = !reading.range.isEmpty()       ? reading.range.start
                          : reason == Reason::Unreadable ? reading.placement.code.start
                          : parts.references >= 0        ? parts.references
                                                         : end;
    if (parts.note >= 0 && parts.note < authorEnd)
        authorEnd = parts.note;
    entry.m_author = trimmed(text, genus->end(), authorEnd);
    entry.m_range = reading.range;
    if (parts.references >= 0)
        entry.m_references =
            TextSpan{parts.references + 1, parts.referencesEnd - parts.references - 1};
    return true;
}

QList<GenusEntry> readGenusEntries(int group, const QString &text, const TimeScale &scale)
{
    return readGenusEntries(QList<CatalogueInput>{{group, text}}, scale); // one run, no thread
}

namespace
{

// The catalogues cut into at most `parts` runs of neighbours, each of about
// an equal share of the text: the index of each run's first catalogue, and
// the end.
QList<qsizetype> runStarts(const QList<CatalogueInput> &catalogues, int parts)
{
    qsizetype total = 0;
    for (const CatalogueInput &catalogue : catalogues)
        total += catalogue.text.size();
    QList<qsizetype> starts{0};
    qsizetype read = 0;
    for (qsizetype i = 0; i < catalogues.size(); ++i) {
        read += catalogues[i].text.size();
        const qsizetype share = total * qsizetype(starts.size()) / parts;
        if (read >= share && starts.size() < parts && i + 1 < catalogues.size())
            starts.append(i + 1);
    }
    starts.append(catalogues.size());
    return starts;
}

QList<GenusEntry> readRun(const QList<CatalogueInput> &catalogues, qsizetype from, qsizetype to,
                          const TimeScale &scale)
{
    QList<GenusEntry> entries;
    RangeMemo ranges; // a range written alike in several entries is read once
    for (qsizetype i = from; i < to; ++i)
        EntryReader(catalogues[i].group, catalogues[i].text, scale, entries, ranges).read();
    return entries;
}

} // namespace

QList<GenusEntry> readGenusEntries(const QList<CatalogueInput> &catalogues, const TimeScale &scale)
{
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const QList<qsizetype> starts = runStarts(catalogues, std::min(cores, MaxReadingThreads));
    const qsizetype runs = starts.size() - 1;
    std::vector<QList<GenusEntry>> read(std::size_t(std::max<qsizetype>(runs, 1)));
    {
        std::vector<std::jthread> others;
        for (qsizetype run = 1; run < runs; ++run)
            others.emplace_back([&, run] {
                read[std::size_t(run)] = readRun(catalogues, starts[run], starts[run + 1], scale);
            });
        if (runs > 0)
            read[0] = readRun(catalogues, starts[0], starts[1], scale);
    } // the other runs' threads are joined here
    if (read.size() == 1)
        return std::move(read[0]);
    qsizetype size = 0;
    for (const QList<GenusEntry> &run : read)
        size += run.size();
    QList<GenusEntry> entries;
    entries.reserve(size);
    for (QList<GenusEntry> &run : read)
        entries.append(std::move(run));
    return entries;
}

} // namespace fosdat::strata
