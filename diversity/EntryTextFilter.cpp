#include "EntryTextFilter.h"

#include <functional>

namespace fosdat::diversity
{

void EntryTextFilter::setEntries(const QList<strata::GenusEntry> *entries)
{
    m_entries = entries;
    m_states.fill(Unknown, entries ? entries->size() : 0);
}

void EntryTextFilter::setMatcher(const TextMatcher &matcher)
{
    const bool narrows = isActive() && matcher.flags() == m_matcher.flags() &&
                         !(matcher.flags() & QTextDocument::FindWholeWords) &&
                         matcher.text().startsWith(m_matcher.text());
    m_matcher = matcher;
    for (State &state : m_states) {
        if (!narrows || state == Passes)
            state = Unknown;
    }
}

bool EntryTextFilter::matches(const strata::GenusEntry &entry) const
{
    for (QStringView text : {entry.text(), entry.family(), entry.order(), entry.className()}) {
        if (!text.isEmpty() && m_matcher.indexIn(text, 0) >= 0)
            return true;
    }
    return false;
}

// The entry's state is found by its place in the list: the counts hand over
// the very elements of the list they were given.
bool EntryTextFilter::accepts(const strata::GenusEntry &entry)
{
    if (!isActive())
        return true;
    const strata::GenusEntry *first = m_entries ? m_entries->constData() : nullptr;
    const std::less<const strata::GenusEntry *> before;
    if (!first || before(&entry, first) || !before(&entry, first + m_states.size()))
        return matches(entry);
    State &state = m_states[&entry - first];
    if (state == Unknown)
        state = matches(entry) ? Passes : Fails;
    return state == Passes;
}

} // namespace fosdat::diversity
