#pragma once

#include "CatalogueEntries.h"
#include "CatalogueIndex.h"
#include "GenusEntries.h"
#include "TimeScale.h"

#include <QList>
#include <QString>
#include <memory>

namespace fosdat::diversity
{

// The genus entries the window counts, as the catalogue model read them, and
// the time scale their ranges were placed in: the two go together, as an
// entry's stages are the scale's rows. The text filter scans the catalogues'
// texts as the search index holds them (a byte a character beside a folded
// copy), at the same positions as the texts the entries are views of, so
// nothing of the text is converted or copied again for it.
struct GenusCatalogue {
    std::shared_ptr<const strata::TimeScale> scale;
    QList<strata::GenusEntry> entries; // those of `source`, shared with it
    catalogue::EntriesPtr source;      // where each lies, and the texts read
    CatalogueIndex::Bytes texts;       // by group: the index's, of the same texts
};

// The window's catalogue of `entries`, the index's `texts` of the same
// generation beside them.
GenusCatalogue genusCatalogue(catalogue::EntriesPtr entries, CatalogueIndex::Bytes texts);

// Where a genus entry stands, for opening it in the catalogue: its group, its
// paragraph in the catalogue's text and the offset of its name there.
struct GenusPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    QString genus;

    static GenusPlace of(const strata::GenusEntry &entry)
    {
        return {entry.group, entry.paragraph, entry.offset, entry.genus().toString()};
    }
};

} // namespace fosdat::diversity
