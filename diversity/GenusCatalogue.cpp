#include "GenusCatalogue.h"

namespace fosdat::diversity
{

GenusCatalogue genusCatalogue(catalogue::EntriesPtr entries, CatalogueIndex::Bytes texts)
{
    return {entries->scale(), entries->entries(), entries, std::move(texts)};
}

} // namespace fosdat::diversity
