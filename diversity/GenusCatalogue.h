#pragma once

#include "GenusEntries.h"
#include "TimeScale.h"

#include <QList>
#include <QString>
#include <memory>

namespace fosdat::diversity
{

// The genus entries of every catalogue and the time scale their ranges were
// placed in: the two go together, as an entry's stages are the scale's rows.
struct GenusCatalogue {
    std::shared_ptr<const strata::TimeScale> scale;
    QList<strata::GenusEntry> entries;
};

// Where a genus entry stands, for opening it in the catalogue: its group, its
// paragraph in the catalogue's text and the offset of its name there.
struct GenusPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    QString genus;
};

} // namespace fosdat::diversity
