#pragma once

#include "CatalogueEntries.h"
#include "CatalogueIndex.h"
#include "GenusCatalogue.h"
#include "TimeScale.h"

#include <QDir>

// What the program gives the diversity window from the catalogues below
// `base`: the model's entries in the shipped time scale, and the search
// index's texts of them.
inline fosdat::diversity::GenusCatalogue windowCatalogue(const QString &base = QDir::currentPath())
{
    const fosdat::catalogue::CataloguesPtr texts =
        fosdat::catalogue::CatalogueReader().refresh(base);
    fosdat::CatalogueIndex index;
    index.update(texts);
    return fosdat::diversity::genusCatalogue(
        std::make_shared<const fosdat::catalogue::CatalogueEntries>(
            texts,
            std::make_shared<const fosdat::strata::TimeScale>(fosdat::strata::shippedTimeScale())),
        index.bytes());
}
