#include "EntryTextFilter.h"

#include "ByteText.h"
#include "CatalogueEntries.h"
#include "Halves.h"

#include <algorithm>
#include <array>
#include <functional>

namespace fosdat::diversity
{

void EntryTextFilter::setCatalogue(const GenusCatalogue *catalogue)
{
    m_catalogue = catalogue;
    match();
}

void EntryTextFilter::setMatcher(const TextMatcher &matcher)
{
    m_matcher = matcher;
    match();
}

namespace
{

// The first entry whose line begins past half of the groups' texts.
qsizetype halfway(const catalogue::CatalogueEntries &read)
{
    const qsizetype half = read.texts()->characters() / 2;
    qsizetype before = 0; // the texts of the groups before
    for (int group = 0; group < catalogue::GroupCount; ++group) {
        const qsizetype size = read.texts()->at(group).text.size();
        if (before + size >= half)
            return read.firstFrom(group, half - before);
        before += size;
    }
    return read.size();
}

} // namespace

void EntryTextFilter::match()
{
    m_passes.fill(false, m_catalogue && isActive() ? m_catalogue->entries.size() : 0);
    if (m_passes.isEmpty() || m_matcher.matchesNothing())
        return;
    // The lines scanned in two halves of about equal text, the second on
    // another core; a catalogue far larger than the others is shared by both.
    const catalogue::CatalogueEntries &read = *m_catalogue->source;
    bool *passes = m_passes.data();
    strata::inTwoParts(halfway(read), read.size(),
                       [this, &read, passes](qsizetype from, qsizetype to) {
                           for (int group = 0; group < catalogue::GroupCount; ++group) {
                               const qsizetype first = std::max(from, read.first(group));
                               const qsizetype end = std::min(to, read.end(group));
                               if (first < end)
                                   matchLines(group, first, end, passes);
                           }
                       });
    matchNames();
}

// One scan of the group's text from the line of entry `first` to that of
// `end - 1`, on from the next line after each line found; a match outside
// the entries' lines (a heading, a legend) passes none.
void EntryTextFilter::matchLines(int group, qsizetype entry, qsizetype end, bool *passes) const
{
    const catalogue::CatalogueEntries &read = *m_catalogue->source;
    const ByteText *text = m_catalogue->texts.at(std::size_t(group)).get();
    if (!text || text->size() != read.texts()->at(group).text.size()) { // not the same text
        for (; entry < end; ++entry)
            passes[entry] = m_matcher.indexIn(read.at(entry).text(), 0) >= 0;
        return;
    }
    const ByteText::Finder finder(*text, m_matcher);
    for (qsizetype at = finder.indexIn(read.lineStart(entry)); at >= 0;) {
        while (entry + 1 < end && read.lineStart(entry + 1) <= at)
            ++entry;
        if (at + m_matcher.length() <= read.lineEnd(entry))
            passes[entry] = true;
        if (++entry >= end)
            break;
        at = finder.indexIn(read.lineStart(entry));
    }
}

void EntryTextFilter::matchNames()
{
    struct Last {
        QStringView name;
        bool matches = false;
    };
    std::array<Last, 3> last; // family, order, class
    for (qsizetype i = 0; i < m_passes.size(); ++i) {
        if (m_passes[i])
            continue;
        const strata::GenusEntry &entry = m_catalogue->entries.at(i);
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
    const strata::GenusEntry *first = m_catalogue ? m_catalogue->entries.constData() : nullptr;
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
