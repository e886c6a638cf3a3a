#pragma once

#include "GenusEntries.h"
#include "TextMatcher.h"

#include <QList>

namespace fosdat::diversity
{

// A text filter on genus entries with the find dialog's options: an entry
// passes when its line, or the name of its family, order or class, holds the
// text. Each entry is matched once for a text, when first asked about; a
// text typed on from the last keeps the entries that did not match it out
// without matching them again (not for whole words, where "Acant" may be a
// word where "Acan" was none).
class EntryTextFilter
{
public:
    // The entries asked about from now on; forgets what was matched.
    void setEntries(const QList<strata::GenusEntry> *entries);
    void setMatcher(const TextMatcher &matcher);
    bool isActive() const { return !m_matcher.text().isEmpty(); }

    // Whether `entry`, an element of the entries set, passes.
    bool accepts(const strata::GenusEntry &entry);

private:
    enum State : quint8 { Unknown, Passes, Fails };
    bool matches(const strata::GenusEntry &entry) const;

    const QList<strata::GenusEntry> *m_entries = nullptr;
    TextMatcher m_matcher;
    QList<State> m_states; // by entry
};

} // namespace fosdat::diversity
