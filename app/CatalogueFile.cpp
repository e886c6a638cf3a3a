#include "CatalogueFile.h"

#include "DataFiles.h"
#include "RtfReader.h"

using namespace fosdat;

std::unique_ptr<QTextDocument> readCatalogue(const QString &path)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    if (!bytes)
        return nullptr;
    return rtf::read(*bytes).document;
}
