#include "EntryTextFilter.h"

#include "ByteText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace fosdat::diversity
{

namespace
{

// Where `needle` starts in `text` at or after `from`, or -1: the C library's
// memmem() over the characters' bytes, several times as fast as a search of
// the characters for the short words typed into a filter.
qsizetype find(QStringView text, QStringView needle, qsizetype from)
{
    const char *bytes = reinterpret_cast<const char *>(text.data());
    const std::size_t size = std::size_t(text.size()) * sizeof(QChar);
    const std::size_t length = std::size_t(needle.size()) * sizeof(QChar);
    for (std::size_t offset = std::size_t(from) * sizeof(QChar); offset < size;) {
        const void *found = memmem(bytes + offset, size - offset, needle.data(), length);
        if (!found)
            return -1;
        const std::size_t at = std::size_t(static_cast<const char *>(found) - bytes);
        if (at % sizeof(QChar) == 0)
            return qsizetype(at / sizeof(QChar));
        offset = at + 1; // half of one character and half of the next
    }
    return -1;
}

} // namespace

// The lines are folded as the find dialog's search folds each character, so
// that a plain scan of them finds what it finds, ignoring case.
void EntryTextFilter::setEntries(const QList<strata::GenusEntry> *entries)
{
    m_entries = entries;
    m_foldedLines.clear();
    m_starts.clear();
    if (entries) {
        m_starts.reserve(entries->size());
        for (const strata::GenusEntry &entry : *entries) {
            m_starts.append(m_foldedLines.size());
            m_foldedLines += ByteText::foldCase(entry.text());
            m_foldedLines += u'\n';
        }
    }
    match();
}

void EntryTextFilter::setMatcher(const TextMatcher &matcher)
{
    m_matcher = matcher;
    match();
}

void EntryTextFilter::match()
{
    m_passes.fill(false, m_entries && isActive() ? m_entries->size() : 0);
    if (m_passes.isEmpty() || m_matcher.matchesNothing())
        return;
    matchLines();
    matchNames();
}

void EntryTextFilter::matchLines()
{
    const QList<strata::GenusEntry> &entries = *m_entries;
    const bool wholeWords = m_matcher.flags() & QTextDocument::FindWholeWords;
    const auto passes = [&](qsizetype entry) {
        return !wholeWords || m_matcher.indexIn(entries[entry].text(), 0) >= 0;
    };
    if (m_matcher.flags() & QTextDocument::FindCaseSensitively) {
        for (qsizetype i = 0; i < entries.size(); ++i)
            m_passes[i] = entries[i].text().contains(m_matcher.text()) && passes(i);
        return;
    }
    // One scan, on from the next line after each line found.
    const QString needle = ByteText::foldCase(m_matcher.text());
    for (qsizetype at = find(m_foldedLines, needle, 0); at >= 0;) {
        const qsizetype entry =
            std::upper_bound(m_starts.cbegin(), m_starts.cend(), at) - m_starts.cbegin() - 1;
        m_passes[entry] = passes(entry);
        if (entry + 1 >= m_starts.size())
            break;
        at = find(m_foldedLines, needle, m_starts[entry + 1]);
    }
}

void EntryTextFilter::matchNames()
{
    struct Last {
        QStringView name;
        bool matches = false;
    };
    std::array<Last, 3> last; // family, order, class
    for (qsizetype i = 0; i < m_entries->size(); ++i) {
        if (m_passes[i])
            continue;
        const strata::GenusEntry &entry = m_entries->at(i);
        const std::array<QStringView, 3> names{entry.family(), entry.order(), entry.className()};
        for (std::size_t k = 0; k < names.size() && !m_passes[i]; ++k) {
            if (names[k].isEmpty())
                continue;
            // The same name of the catalogue's list: the same characters.
            if (names[k].data() != last[k].name.data() || names[k].size() != last[k].name.size())
                last[k] = {names[k], m_matcher.indexIn(names[k], 0) >= 0};
            m_passes[i] = last[k].matches;
        }
    }
}

// The entry's place in the list: the counts hand over the very elements of
// the list they were given.
bool EntryTextFilter::accepts(const strata::GenusEntry &entry) const
{
    if (!isActive())
        return true;
    const strata::GenusEntry *first = m_entries ? m_entries->constData() : nullptr;
    const std::less<const strata::GenusEntry *> before;
    if (!first || before(&entry, first) || !before(&entry, first + m_passes.size()))
        return matchesAlone(entry);
    return m_passes[&entry - first];
}

bool EntryTextFilter::matchesAlone(const strata::GenusEntry &entry) const
{
    for (QStringView text : {entry.text(), entry.family(), entry.order(), entry.className()}) {
        if (!text.isEmpty() && m_matcher.indexIn(text, 0) >= 0)
            return true;
    }
    return false;
}

} // namespace fosdat::diversity
