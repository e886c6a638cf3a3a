#include "CatalogueFile.h"

#include "DataFiles.h"

using namespace fosdat;

namespace
{

// What the beginning of a catalogue is read from: the text of a screen of a
// catalogue takes a few kilobytes of RTF, and a picture may take many.
constexpr qsizetype StartBytes = 1024 * 1024;

} // namespace

CatalogueRecord readCatalogue(const QString &path, const rtf::ReadProgress &progress)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    if (!bytes)
        return nullptr;
    std::optional<rtf::ContentRecord> record = rtf::readRecord(*bytes, progress);
    if (!record)
        return nullptr;
    return std::make_shared<const rtf::ContentRecord>(std::move(*record));
}

CatalogueRecord readCatalogueStart(const QString &path, qsizetype characters)
{
    // One byte more than is read tells a file that goes on past it.
    const std::optional<QByteArray> bytes = data::readRegularFileStart(path, StartBytes + 1);
    if (!bytes)
        return nullptr;
    const bool wholeFile = bytes->size() <= StartBytes;
    std::optional<rtf::RecordStart> start = rtf::readRecordStart(
        QByteArrayView(*bytes).first(qMin(bytes->size(), StartBytes)), characters);
    // The end of what was read, short of the file's: a catalogue cut there.
    if (!start || (start->whole && !wholeFile))
        return nullptr;
    return std::make_shared<const rtf::ContentRecord>(std::move(start->record));
}
