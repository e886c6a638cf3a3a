#include "ByteText.h"

#include "TextMatcher.h"

#include <QTextDocument>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace fosdat
{

namespace
{

// Stands for every unit the alphabet has no byte for; never a unit's own byte.
constexpr char Escape = 0;
// Bytes 1 to 255 name units.
constexpr int AlphabetSize = 255;
constexpr char16_t ParagraphEnd = u'\n';

// The first place of `needle` in `haystack`, or null. Sixteen places are
// tried at a time, by their first and last bytes, and the bytes between are
// compared only where both agree: a few bytes searched for in a catalogue's
// letters are found where they stand every few words, and a search that
// tries one place after another cannot keep up with them.
const char *findBytes(const char *haystack, std::size_t size, const char *needle,
                      std::size_t length)
{
    if (length == 0)
        return haystack;
    if (length > size)
        return nullptr;
    if (length == 1)
        return static_cast<const char *>(std::memchr(haystack, *needle, size));
    using Block = unsigned char __attribute__((vector_size(16)));
    constexpr std::size_t Width = sizeof(Block);
    const std::size_t last = length - 1;
    const Block first = Block{} + static_cast<unsigned char>(needle[0]);
    const Block final = Block{} + static_cast<unsigned char>(needle[last]);
    std::size_t at = 0;
    for (; at + last + Width <= size; at += Width) {
        Block starts;
        Block ends;
        std::memcpy(&starts, haystack + at, Width);
        std::memcpy(&ends, haystack + at + last, Width);
        const Block both = Block((starts == first) & (ends == final));
        quint64 halves[2];
        std::memcpy(halves, &both, Width);
        if ((halves[0] | halves[1]) == 0)
            continue;
        for (std::size_t half = 0; half < 2; ++half) {
            // Each place where both agree is a byte of eight set bits.
            for (quint64 places = halves[half]; places != 0;) {
                const int bit = std::countr_zero(places);
                places &= ~(quint64(0xff) << bit);
                const std::size_t byte = std::size_t(bit / 8);
                const std::size_t lane =
                    half * 8 + (std::endian::native == std::endian::little ? byte : 7 - byte);
                const char *start = haystack + at + lane;
                std::size_t i = 1;
                while (i < last && start[i] == needle[i])
                    ++i;
                if (i == last)
                    return start;
            }
        }
    }
    return static_cast<const char *>(memmem(haystack + at, size - at, needle, length));
}

// Tables by UTF-16 unit, kept for the next text built on the same thread:
// each text clears the entries it used, not the whole of them.
struct UnitTables {
    std::vector<quint32> counts = std::vector<quint32>(0x10000, 0);
    std::vector<char16_t> foldOf = std::vector<char16_t>(0x10000, 0);
    std::vector<char> byteOf = std::vector<char>(0x10000, Escape);
    std::vector<char> foldedByteOf = std::vector<char>(0x10000, Escape);

    static UnitTables &forThisThread()
    {
        thread_local UnitTables tables;
        return tables;
    }
    // Counts a unit; true when it is its first.
    bool count(char16_t unit, quint32 times = 1)
    {
        const bool first = counts[unit] == 0;
        counts[unit] += times;
        return first;
    }
};

// The units that get a byte, from those that occur: all of them, or, when
// there are more than the alphabet holds, the most frequent ones. The
// paragraph end always has one, whether the text holds it or not.
std::vector<char16_t> alphabetOf(std::vector<char16_t> units, const std::vector<quint32> &counts)
{
    std::sort(units.begin(), units.end());
    std::erase(units, ParagraphEnd);
    units.insert(units.begin(), ParagraphEnd);
    if (units.size() > size_t(AlphabetSize)) {
        std::stable_sort(units.begin() + 1, units.end(),
                         [&counts](char16_t a, char16_t b) { return counts[a] > counts[b]; });
        units.resize(AlphabetSize);
    }
    return units;
}

} // namespace

QString ByteText::foldCase(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(folded.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t pair = QChar::toCaseFolded(QChar::surrogateToUcs4(c, text[i + 1]));
            out[i] = QChar::highSurrogate(pair);
            out[++i] = QChar::lowSurrogate(pair);
        } else {
            out[i] = c.toCaseFolded().unicode();
        }
    }
    return folded;
}

// Units are folded one by one, each distinct unit once, unless the text has
// surrogates, whose folding depends on the unit beside them.
ByteText::ByteText(QStringView text)
{
    UnitTables &t = UnitTables::forThisThread();
    std::vector<char16_t> distinct; // in the text
    for (const QChar c : text) {
        if (t.count(c.unicode()))
            distinct.push_back(c.unicode());
    }
    const bool surrogates = std::any_of(distinct.cbegin(), distinct.cend(),
                                        [](char16_t unit) { return QChar::isSurrogate(unit); });
    const QString foldedText = surrogates ? foldCase(text) : QString();
    // The folded copy's units count towards the alphabet as the text's do.
    std::vector<char16_t> used = distinct; // in the text or its folded copy
    for (const char16_t unit : distinct)
        t.foldOf[unit] = QChar(unit).toCaseFolded().unicode();
    if (surrogates) {
        for (const QChar c : foldedText) {
            if (t.count(c.unicode()))
                used.push_back(c.unicode());
        }
    } else {
        for (const char16_t unit : distinct) {
            if (t.count(t.foldOf[unit], t.counts[unit]))
                used.push_back(t.foldOf[unit]);
        }
    }

    const std::vector<char16_t> alphabet = alphabetOf(used, t.counts);
    for (size_t code = 0; code < alphabet.size(); ++code) {
        const char16_t unit = alphabet[code];
        const char byte = char(code + 1);
        t.byteOf[unit] = byte;
        m_units[static_cast<unsigned char>(byte)] = unit;
        m_wordBytes[static_cast<unsigned char>(byte)] = QChar(unit).isLetterOrNumber();
        m_bytes.append({unit, byte});
    }
    std::sort(m_bytes.begin(), m_bytes.end());
    m_paragraphEnd = t.byteOf[ParagraphEnd];
    for (const char16_t unit : distinct)
        t.foldedByteOf[unit] = t.byteOf[t.foldOf[unit]];

    // Allocated to the size: resize() would leave room to grow.
    m_exact = QByteArray(text.size(), Qt::Uninitialized);
    m_folded = QByteArray(text.size(), Qt::Uninitialized);
    char *exact = m_exact.data();
    char *folded = m_folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        exact[i] = t.byteOf[unit];
        folded[i] = surrogates ? t.byteOf[foldedText[i].unicode()] : t.foldedByteOf[unit];
        if (exact[i] == Escape || folded[i] == Escape)
            m_escapedUnits.append({i, unit, surrogates ? foldedText[i].unicode() : t.foldOf[unit]});
    }
    m_escapedUnits.squeeze();

    for (const char16_t unit : used) {
        t.counts[unit] = 0;
        t.foldedByteOf[unit] = Escape;
    }
    for (const char16_t unit : alphabet)
        t.byteOf[unit] = Escape;
}

char ByteText::byteOf(char16_t unit) const
{
    const auto found = std::lower_bound(m_bytes.cbegin(), m_bytes.cend(), unit,
                                        [](const std::pair<char16_t, char> &entry,
                                           char16_t wanted) { return entry.first < wanted; });
    return found != m_bytes.cend() && found->first == unit ? found->second : Escape;
}

const ByteText::Escaped &ByteText::escapedAt(qsizetype position) const
{
    return *std::lower_bound(
        m_escapedUnits.cbegin(), m_escapedUnits.cend(), position,
        [](const Escaped &escaped, qsizetype wanted) { return escaped.position < wanted; });
}

QChar ByteText::unitAt(qsizetype position) const
{
    const char byte = m_exact[position];
    return byte == Escape ? QChar(escapedAt(position).unit)
                          : QChar(m_units[static_cast<unsigned char>(byte)]);
}

bool ByteText::isWordAt(qsizetype position) const
{
    if (position < 0 || position >= size())
        return false;
    const char byte = m_exact[position];
    return byte == Escape ? unitAt(position).isLetterOrNumber()
                          : m_wordBytes[static_cast<unsigned char>(byte)];
}

qsizetype ByteText::paragraphEnds(qsizetype from, qsizetype to) const
{
    const char *data = m_exact.constData();
    return std::count(data + from, data + to, m_paragraphEnd);
}

qsizetype ByteText::paragraphEndBefore(qsizetype position) const
{
    const void *found = memrchr(m_exact.constData(), m_paragraphEnd, size_t(position));
    return found ? static_cast<const char *>(found) - m_exact.constData() : -1;
}

qsizetype ByteText::paragraphEndFrom(qsizetype position) const
{
    const char *data = m_exact.constData();
    const void *found = memchr(data + position, m_paragraphEnd, size_t(size() - position));
    return found ? static_cast<const char *>(found) - data : size();
}

ByteText::Finder::Finder(const ByteText &text, const TextMatcher &matcher)
    : m_text(text), m_matcher(matcher)
{
    const bool matchCase = matcher.flags() & QTextDocument::FindCaseSensitively;
    m_haystack = matchCase ? &text.m_exact : &text.m_folded;
    m_units = matchCase ? matcher.text() : foldCase(matcher.text());
    m_needle.reserve(m_units.size());
    for (qsizetype i = 0; i < m_units.size(); ++i) {
        const char byte = text.byteOf(m_units[i].unicode());
        if (byte == Escape)
            m_escaped.append(i);
        m_needle.append(byte);
    }
    m_impossible =
        matcher.matchesNothing() || (!m_escaped.isEmpty() && text.m_escapedUnits.isEmpty());
}

// The units kept aside under the escape byte are those of the searched text.
bool ByteText::Finder::unitsMatch(qsizetype start) const
{
    const bool matchCase = m_haystack == &m_text.m_exact;
    for (const qsizetype offset : m_escaped) {
        const Escaped &escaped = m_text.escapedAt(start + offset);
        if ((matchCase ? escaped.unit : escaped.folded) != m_units[offset].unicode())
            return false;
    }
    return true;
}

// A paragraph's edges count as word boundaries, and the text has a separator there.
bool ByteText::Finder::isWholeWord(qsizetype start) const
{
    return !m_text.isWordAt(start - 1) && !m_text.isWordAt(start + m_needle.size());
}

qsizetype ByteText::Finder::indexIn(qsizetype from) const
{
    if (m_impossible || from < 0)
        return -1;
    const char *haystack = m_haystack->constData();
    const qsizetype size = m_haystack->size();
    qsizetype offset = from;
    while (offset <= size) {
        const char *found = findBytes(haystack + offset, std::size_t(size - offset),
                                      m_needle.constData(), std::size_t(m_needle.size()));
        if (!found)
            return -1;
        const qsizetype start = found - haystack;
        if (!unitsMatch(start)) {
            offset = start + 1;
            continue;
        }
        if (!(m_matcher.flags() & QTextDocument::FindWholeWords) || isWholeWord(start))
            return start;
        // As in the characters: on one character past a match that is not a whole word.
        offset = start + m_needle.size() + 1;
    }
    return -1;
}

} // namespace fosdat
