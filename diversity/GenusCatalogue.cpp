#include "GenusCatalogue.h"

namespace fosdat::diversity
{

GenusCatalogue readGenusCatalogue(const QStringList &texts,
                                  std::shared_ptr<const strata::TimeScale> scale)
{
    GenusCatalogue catalogue{std::move(scale), {}, {}, {}};
    QList<strata::CatalogueInput> catalogues;
    for (int group = 0; group < int(texts.size()); ++group)
        catalogues.append({group, texts[group]});
    catalogue.entries = strata::readGenusEntries(catalogues, *catalogue.scale);
    QString lines;
    catalogue.starts.reserve(catalogue.entries.size());
    for (const strata::GenusEntry &entry : std::as_const(catalogue.entries)) {
        catalogue.starts.append(lines.size());
        lines += entry.text();
        lines += u'\n';
    }
    catalogue.lines = ByteText(lines);
    return catalogue;
}

} // namespace fosdat::diversity
