#pragma once

#include "ByteText.h"
#include "GenusEntries.h"
#include "TextMatcher.h"

#include <QList>

namespace fosdat::diversity
{

// A text filter on genus entries with the find dialog's options: an entry
// passes when its line, or the name of its family, order or class, holds the
// text. Every entry is matched when the text or an option changes, so that
// recounting asks nothing more: the lines are held as one text of a byte a
// character, as the search window's index holds a catalogue, and scanned
// once; a name shared by neighbouring entries is matched once.
class EntryTextFilter
{
public:
    // The entries asked about from now on, which must stay in place.
    void setEntries(const QList<strata::GenusEntry> *entries);
    void setMatcher(const TextMatcher &matcher);
    bool isActive() const { return !m_matcher.text().isEmpty(); }

    // Whether `entry`, an element of the entries set, passes.
    bool accepts(const strata::GenusEntry &entry) const;

private:
    void match();
    void matchLines();
    void matchNames();
    // The same for an entry on its own.
    bool matchesAlone(const strata::GenusEntry &entry) const;

    const QList<strata::GenusEntry> *m_entries = nullptr;
    TextMatcher m_matcher;
    QList<bool> m_passes;      // by entry
    ByteText m_lines;          // every entry's line, each ended by '\n'
    QList<qsizetype> m_starts; // of each entry's line there
};

} // namespace fosdat::diversity
