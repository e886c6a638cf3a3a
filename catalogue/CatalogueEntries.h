#pragma once

#include "CatalogueTexts.h"
#include "GenusEntries.h"

#include <QList>
#include <QStringView>
#include <array>
#include <memory>

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::catalogue
{

// The genus entries of one generation of catalogue texts, placed in one time
// scale (strata::readGenusEntries()): every reader of an entry (the search's
// ranking, rows and CSV, the diversity window, fosdat-ranges) reads these.
// Each entry is a view of its catalogue's text as the texts hold it: nothing
// of the text is copied. Immutable once read, and shared.
class CatalogueEntries
{
public:
    // Reads the entries of every text held, but of one held only as the start
    // of its first paragraph.
    CatalogueEntries(CataloguesPtr texts, std::shared_ptr<const strata::TimeScale> scale);

    const CataloguesPtr &texts() const { return m_texts; }
    quint64 generation() const { return m_texts->generation(); }
    const std::shared_ptr<const strata::TimeScale> &scale() const { return m_scale; }
    // In the order of the group table, then of each text.
    const QList<strata::GenusEntry> &entries() const { return m_entries; }
    const strata::GenusEntry &at(qsizetype entry) const { return m_entries.at(entry); }
    qsizetype size() const { return m_entries.size(); }

    // A group's entries are [first(group), end(group)).
    qsizetype first(int group) const { return m_groupStarts.at(std::size_t(group)); }
    qsizetype end(int group) const { return m_groupStarts.at(std::size_t(group) + 1); }

    // Where an entry's line begins in its catalogue's text, and ends (its
    // paragraph end or line break).
    qsizetype lineStart(qsizetype entry) const;
    qsizetype lineEnd(qsizetype entry) const { return lineStart(entry) + at(entry).text().size(); }
    // Where a part of an entry (its genus(), range() and so on) begins in its
    // catalogue's text; -1 for a part it does not have.
    qsizetype positionOf(qsizetype entry, QStringView part) const;
    // The entry of `group` whose line holds the character at `position` of
    // the group's text, or -1 (a heading, a blank line, other text).
    qsizetype entryAt(int group, qsizetype position) const;
    // The first entry of `group` whose line begins at or after `position`
    // of the group's text; end(group) where none does.
    qsizetype firstFrom(int group, qsizetype position) const;

private:
    CataloguesPtr m_texts;
    std::shared_ptr<const strata::TimeScale> m_scale;
    QList<strata::GenusEntry> m_entries;
    std::array<qsizetype, GroupCount + 1> m_groupStarts{};
};
using EntriesPtr = std::shared_ptr<const CatalogueEntries>;

} // namespace fosdat::catalogue
