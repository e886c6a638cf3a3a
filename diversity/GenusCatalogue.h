#pragma once

#include "ByteText.h"
#include "GenusEntries.h"
#include "TimeScale.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace fosdat::diversity
{

// The genus entries of every catalogue and the time scale their ranges were
// placed in: the two go together, as an entry's stages are the scale's rows.
// Their lines are held once more as one text of a byte a character (as the
// search index holds a catalogue), for the text filter to scan at once.
struct GenusCatalogue {
    std::shared_ptr<const strata::TimeScale> scale;
    QList<strata::GenusEntry> entries;
    ByteText lines;          // every entry's line, each ended by '\n'
    QList<qsizetype> starts; // of each entry's line there
};

// The entries of each group's catalogue text, by group row, placed in
// `scale`: all the work of making a catalogue, for a worker thread.
GenusCatalogue readGenusCatalogue(const QStringList &texts,
                                  std::shared_ptr<const strata::TimeScale> scale);

// Where a genus entry stands, for opening it in the catalogue: its group, its
// paragraph in the catalogue's text and the offset of its name there.
struct GenusPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    QString genus;
};

} // namespace fosdat::diversity
