#include "EntryTextFilter.h"

#include "ByteText.h"

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

void EntryTextFilter::match()
{
    m_passes.fill(false, m_catalogue && isActive() ? m_catalogue->entries.size() : 0);
    if (m_passes.isEmpty() || m_matcher.matchesNothing())
        return;
    matchLines();
    matchNames();
}

// One scan, on from the next line after each line found.
void EntryTextFilter::matchLines()
{
    const QList<qsizetype> &starts = m_catalogue->starts;
    const ByteText::Finder finder(m_catalogue->lines, m_matcher);
    for (qsizetype at = finder.indexIn(0); at >= 0;) {
        const qsizetype entry =
            std::upper_bound(starts.cbegin(), starts.cend(), at) - starts.cbegin() - 1;
        m_passes[entry] = true;
        if (entry + 1 >= starts.size())
            break;
        at = finder.indexIn(starts[entry + 1]);
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
