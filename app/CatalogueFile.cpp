#include "CatalogueFile.h"

#include "DataFiles.h"

using namespace fosdat;

std::unique_ptr<QTextDocument> readCatalogue(const QString &path, const rtf::ReadProgress &progress)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    if (!bytes)
        return nullptr;
    return rtf::read(*bytes, progress).document;
}
