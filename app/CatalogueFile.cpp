#include "CatalogueFile.h"

#include "DataFiles.h"

using namespace fosdat;

std::shared_ptr<const rtf::ContentRecord> readCatalogue(const QString &path,
                                                        const rtf::ReadProgress &progress)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    if (!bytes)
        return nullptr;
    std::optional<rtf::ContentRecord> record = rtf::readRecord(*bytes, progress);
    if (!record)
        return nullptr;
    return std::make_shared<const rtf::ContentRecord>(std::move(*record));
}
