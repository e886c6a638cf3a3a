#include "GenusEntries.h"

#include "EntryParts.h"
#include "TimeScale.h"

#include <QtConcurrent/QtConcurrentMap>
#include <array>
#include <sys/mman.h>

namespace fosdat::strata
{

namespace
{

using tokens::skipBlanks;

// About this many characters of a catalogue are read as one piece of work:
// a catalogue far larger than the others is shared by the cores, and the
// pieces are many more than the cores, so each gets about as much.
constexpr qsizetype PieceChars = 64 * 1024;
// Room is made for an entry in about this many characters of text at first:
// the sample's catalogues write one in 76 to 94, and where more come the
// list grows.
constexpr qsizetype ExpectedEntryChars = 64;

// Where a piece has not met the heading that sets a name, the name is that
// of the pieces before it: settled once they are read.
constexpr TextSpan Inherited{-1, 0};

// The names the headings above a line give.
struct HeadingNames {
    TextSpan className = Inherited;
    TextSpan classLatin = Inherited;
    TextSpan order = Inherited;
    TextSpan family = Inherited;
    bool familyUncertain = false; // "Семейство ?Xidae"; with `family`

    void set(Rank rank, TextSpan name, TextSpan latin, bool uncertain)
    {
        switch (rank) {
        case Rank::Class:
            className = name;
            classLatin = latin;
            [[fallthrough]];
        case Rank::Subclass:
            order = {};
            setFamily({}, false);
            break;
        case Rank::Order:
            order = name;
            [[fallthrough]];
        case Rank::Suborder:
        case Rank::Superfamily:
            setFamily({}, false);
            break;
        case Rank::Family:
            setFamily(name, uncertain);
            break;
        case Rank::Subfamily:
            break;
        }
    }
    void setFamily(TextSpan name, bool uncertain)
    {
        family = name;
        familyUncertain = uncertain;
    }
    // These names as they stand after `later`, read after them.
    void follow(const HeadingNames &later)
    {
        for (auto field : {&HeadingNames::className, &HeadingNames::classLatin,
                           &HeadingNames::order, &HeadingNames::family}) {
            if ((later.*field).start != Inherited.start)
                this->*field = later.*field;
        }
        if (later.family.start != Inherited.start)
            familyUncertain = later.familyUncertain;
    }
};

TextSpan settled(TextSpan span, TextSpan before)
{
    return span.start == Inherited.start ? before : span;
}

// The entries of all catalogues fill tens of megabytes at once: in pages of
// 2 MiB the system zeroes them in a few dozen faults instead of thousands,
// which halves the time of joining them on a virtual machine. Only advice:
// where the system has no such pages, nothing changes.
void adviseLargePages(const void *data, qsizetype bytes)
{
    constexpr quintptr Large = 2 * 1024 * 1024;
    const auto begin = quintptr(data);
    const quintptr from = (begin + Large - 1) & ~(Large - 1);
    const quintptr to = (begin + quintptr(bytes)) & ~(Large - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
}

} // namespace

QStringView GenusEntry::marks() const
{
    const QStringView text = view(m_line);
    const qsizetype at = skipBlanks(text, 0, text.size());
    return text.sliced(at, m_genus.start - m_line.start - at).trimmed();
}

QStringView GenusEntry::subgenus() const
{
    const QStringView genus = view(m_genus);
    const qsizetype open = genus.indexOf(u'(');
    return open < 0 ? QStringView() : genus.sliced(open + 1, genus.size() - open - 2);
}

// Reads the lines of one piece of a catalogue's text, which begins a
// paragraph, into entries whose lines and paragraphs count from the piece's
// start and whose heading names may be Inherited.
class EntryReader
{
public:
    struct Piece {
        int catalogue = 0;
        qsizetype from = 0;
        qsizetype to = 0;
    };
    struct Reading {
        int catalogue = 0; // of its piece
        QList<GenusEntry> entries;
        HeadingNames names; // as they stand at the piece's end
        int lineBreaks = 0;
        int paragraphBreaks = 0;
    };

    EntryReader(QStringView text, const TimeScale &scale) : m_text(text), m_scale(scale) {}

    Reading read(qsizetype from, qsizetype to);

private:
    void readLine(qsizetype start, qsizetype end);
    bool readHeading(qsizetype at, qsizetype end);
    void readEntry(qsizetype start, const GenusName &name, qsizetype end);

    QStringView m_text;
    const TimeScale &m_scale;
    Reading m_reading;
    qsizetype m_paragraphStart = 0;
};

// Joins the pieces' readings, given in their order, into one list: their
// lines and paragraphs counted on from those before them, their Inherited
// names replaced by those the pieces before them end with, their entries
// given their catalogue's text and group.
class ReadingJoiner
{
public:
    explicit ReadingJoiner(const QList<CatalogueInput> &catalogues);

    void join(QList<GenusEntry> &entries, const EntryReader::Reading &reading);

private:
    const QList<CatalogueInput> &m_catalogues;
    qsizetype m_expected = 0; // entries, by the texts' length
    int m_catalogue = -1;
    std::shared_ptr<const QString> m_text;
    HeadingNames m_names;
    int m_lines = 0;
    int m_paragraphs = 0;
};

EntryReader::Reading EntryReader::read(qsizetype from, qsizetype to)
{
    m_reading.entries.reserve(std::max<qsizetype>(16, (to - from) / 48));
    m_paragraphStart = from;
    for (qsizetype start = from; start < to;) {
        const qsizetype end = tokens::find(m_text, start, to, u'\n', QChar::LineSeparator);
        readLine(start, end);
        if (end == to)
            break;
        ++m_reading.lineBreaks;
        if (m_text[end] == u'\n') {
            ++m_reading.paragraphBreaks;
            m_paragraphStart = end + 1;
        }
        start = end + 1;
    }
    return std::move(m_reading);
}

void EntryReader::readLine(qsizetype start, qsizetype end)
{
    const qsizetype at = skipBlanks(m_text, start, end);
    if (at == end || m_text[at] == u'=' || readHeading(at, end)) // a synonym: "= Bus"
        return;
    if (const std::optional<GenusName> name = readGenusName(m_text, at, end, m_scale)) {
        if (name->familyRank) { // a lone "Acanthoceratidae" is a heading; "?Xidae", "Xidae?"
            const qsizetype after = name->span.end();
            m_reading.names.set(rankOfName(name->span.in(m_text)), name->span, {},
                                m_text.sliced(at, name->span.start - at).contains(u'?') ||
                                    (after < end && m_text[after] == u'?'));
        } else {
            readEntry(start, *name, end);
        }
    }
}

bool EntryReader::readHeading(qsizetype at, qsizetype end)
{
    const std::optional<Heading> heading = fosdat::strata::readHeading(m_text, at, end);
    if (heading)
        m_reading.names.set(heading->rank, heading->name, heading->latin, heading->uncertain);
    return heading.has_value();
}

void EntryReader::readEntry(qsizetype start, const GenusName &name, qsizetype end)
{
    const EntryParts parts = readEntryParts(m_text, name.span.end(), end, m_scale);
    const Placement &placement = parts.placement;
    // Prose that happens to begin with a capitalised word ("Incertae sedis"),
    // or with one and a colon ("Note: see below"): neither a range nor
    // references follow.
    const qsizetype after = skipBlanks(m_text, name.span.end(), end);
    if (!parts.hasReferences &&
        (placement.reason == Reason::NoRange || placement.reason == Reason::Unreadable) &&
        (name.colon || (after < end && m_text[after].isLower())))
        return;
    GenusEntry &entry = m_reading.entries.emplace_back();
    entry.line = m_reading.lineBreaks + 1;
    entry.paragraph = m_reading.paragraphBreaks;
    entry.offset = int(name.span.start - m_paragraphStart);
    entry.placement = placement;
    entry.m_line = TextSpan::between(start, end);
    entry.m_genus = name.span;
    entry.m_author = parts.author;
    entry.m_range = parts.zone;
    entry.m_references = parts.references;
    entry.m_order = parts.order.isEmpty() ? m_reading.names.order : parts.order;
    entry.m_family = parts.family.isEmpty() ? m_reading.names.family : parts.family;
    entry.m_familyUncertain =
        parts.family.isEmpty() ? m_reading.names.familyUncertain : parts.familyUncertain;
    entry.m_class = m_reading.names.className;
    entry.m_classLatin = m_reading.names.classLatin;
}

ReadingJoiner::ReadingJoiner(const QList<CatalogueInput> &catalogues) : m_catalogues(catalogues)
{
    for (const CatalogueInput &catalogue : catalogues)
        m_expected += catalogue.text.size() / ExpectedEntryChars;
}

void ReadingJoiner::join(QList<GenusEntry> &entries, const EntryReader::Reading &reading)
{
    const CatalogueInput &catalogue = m_catalogues[reading.catalogue];
    if (reading.catalogue != m_catalogue) {
        m_catalogue = reading.catalogue;
        m_text = std::make_shared<const QString>(catalogue.text);
        m_names = HeadingNames{{}, {}, {}, {}};
        m_lines = m_paragraphs = 0;
    }
    if (entries.capacity() - entries.size() < reading.entries.size()) {
        entries.reserve(std::max(
            {m_expected, 2 * entries.capacity(), entries.size() + reading.entries.size()}));
        adviseLargePages(entries.data(), entries.capacity() * qsizetype(sizeof(GenusEntry)));
    }
    for (const GenusEntry &read : reading.entries) {
        GenusEntry &entry = entries.emplace_back(read);
        entry.group = catalogue.group;
        entry.line += m_lines;
        entry.paragraph += m_paragraphs;
        entry.m_class = settled(entry.m_class, m_names.className);
        entry.m_classLatin = settled(entry.m_classLatin, m_names.classLatin);
        entry.m_order = settled(entry.m_order, m_names.order);
        if (entry.m_family.start == Inherited.start)
            entry.m_familyUncertain = m_names.familyUncertain;
        entry.m_family = settled(entry.m_family, m_names.family);
        entry.m_text = m_text;
    }
    m_names.follow(reading.names);
    m_lines += reading.lineBreaks;
    m_paragraphs += reading.paragraphBreaks;
}

QList<GenusEntry> readGenusEntries(int group, const QString &text, const TimeScale &scale)
{
    return readGenusEntries(QList<CatalogueInput>{{group, text}}, scale);
}

QList<GenusEntry> readGenusEntries(const QList<CatalogueInput> &catalogues, const TimeScale &scale)
{
    // Pieces end after a paragraph's end, so that none begins inside one.
    QList<EntryReader::Piece> pieces;
    for (int i = 0; i < int(catalogues.size()); ++i) {
        const QString &text = catalogues[i].text;
        for (qsizetype from = 0; from < text.size();) {
            const qsizetype end = text.indexOf(u'\n', std::min(from + PieceChars, text.size()));
            const qsizetype to = end < 0 ? text.size() : end + 1;
            pieces.append({i, from, to});
            from = to;
        }
    }
    // Each reading is joined as soon as those before it are, while the
    // cores read on: the joining overlaps the reading.
    ReadingJoiner joiner(catalogues);
    return QtConcurrent::blockingMappedReduced<QList<GenusEntry>>(
        pieces,
        [&](const EntryReader::Piece &piece) {
            EntryReader::Reading reading =
                EntryReader(catalogues[piece.catalogue].text, scale).read(piece.from, piece.to);
            reading.catalogue = piece.catalogue;
            return reading;
        },
        [&](QList<GenusEntry> &all, const EntryReader::Reading &reading) {
            joiner.join(all, reading);
        },
        QtConcurrent::OrderedReduce);
}

} // namespace fosdat::strata
