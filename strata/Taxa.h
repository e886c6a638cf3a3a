#pragma once

#include "GenusEntries.h"

#include <QList>
#include <QStringView>
#include <optional>

namespace fosdat::strata
{

struct CountOptions;

// The level of the taxa that are counted.
enum class TaxonLevel { Genus, Family, Order };

// "genus", "family", "order"; nullopt for another word.
std::optional<TaxonLevel> taxonLevelFromKey(QStringView key);

// The taxa of `level` that the genus entries make, in the order of their
// first genus, as entries to count like genera: a family (an order) of a
// group is one entry named by it, whose range is the union of the ranges of
// its genera counted under `options` (a genus whose family is written with
// a "?" only where uncertain ranges are counted), open to the present when
// one of them is, uncertain when one of them is. A taxon none of whose
// genera is counted keeps the reason of its first; a genus with no family
// (order) stays an entry of its own, not counted: NoFamily (NoOrder). At
// the genus level, the entries as they are.
QList<GenusEntry> taxaOf(const QList<GenusEntry> &genera, TaxonLevel level,
                         const CountOptions &options);

} // namespace fosdat::strata
