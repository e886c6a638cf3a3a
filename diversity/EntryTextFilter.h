#pragma once

#include "GenusCatalogue.h"
#include "TextMatcher.h"

#include <QList>

namespace fosdat::diversity
{

// A text filter on genus entries with the find dialog's options: an entry
// passes when its line, or the name of its family, order or class, holds the
// text. Every entry is matched when the text or an option changes, so that
// recounting asks nothing more: each catalogue's text, as the search index
// holds it, is scanned once from its first entry's line, each match taken
// for the entry whose line holds it; a name shared by neighbouring entries is
// matched once.
class EntryTextFilter
{
public:
    // The entries asked about from now on; the catalogue must stay in place.
    void setCatalogue(const GenusCatalogue *catalogue);
    void setMatcher(const TextMatcher &matcher);
    bool isActive() const { return !m_matcher.text().isEmpty(); }

    // Whether `entry`, an element of the entries set, passes.
    bool accepts(const strata::GenusEntry &entry) const;

private:
    void match();
    // Marks in `passes` the entries of `group` from `first` to before `end`
    // whose lines hold the text.
    void matchLines(int group, qsizetype first, qsizetype end, bool *passes) const;
    void matchNames();
    // The same for an entry on its own.
    bool matchesAlone(const strata::GenusEntry &entry) const;

    const GenusCatalogue *m_catalogue = nullptr;
    TextMatcher m_matcher;
    QList<bool> m_passes; // by entry
};

} // namespace fosdat::diversity
