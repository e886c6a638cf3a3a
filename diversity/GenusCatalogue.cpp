#include "GenusCatalogue.h"

namespace fosdat::diversity
{

GenusCatalogue readGenusCatalogue(const QStringList &texts,
                                  std::shared_ptr<const strata::TimeScale> scale)
{
    GenusCatalogue catalogue{std::move(scale), {}, {}, {}};
    strata::GenusEntryReader reader(*catalogue.scale);
    for (int group = 0; group < int(texts.size()); ++group)
        reader.read(group, texts[group]);
    catalogue.entries = reader.takeEntries();
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
