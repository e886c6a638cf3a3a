#include "CatalogueIndex.h"

#include "DataFiles.h"
#include "RtfReader.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace fosdat;

namespace
{

QList<int> paragraphStarts(const QString &text)
{
    QList<int> starts{0};
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        starts.append(int(at + 1));
    return starts;
}

} // namespace

int CatalogueIndex::refresh(const QString &base)
{
    const QDir dir(base);
    int read = 0;
    for (int group = 0; group < GroupCount; ++group) {
        Catalogue &catalogue = m_catalogues[size_t(group)];
        const QString path = data::nativePath(data::GroupTable[size_t(group)].catalogPath, dir);
        const QFileInfo info(path);
        const FileStamp stamp =
            info.exists() ? FileStamp{info.size(), info.lastModified(), info.metadataChangeTime()}
                          : FileStamp{};
        if (catalogue.stamped && stamp == catalogue.stamp)
            continue;
        catalogue.stamp = stamp;
        catalogue.stamped = true;
        this->read(catalogue, path);
        ++read;
    }
    return read;
}

void CatalogueIndex::read(Catalogue &catalogue, const QString &path)
{
    std::optional<QString> text;
    if (const std::optional<QByteArray> bytes = data::readRegularFile(path))
        text = rtf::readText(*bytes);
    catalogue.read = text.has_value();
    catalogue.text = text ? std::move(*text) : QString();
    catalogue.text.replace(QChar::Nbsp, u' ');
    catalogue.text.squeeze();
    catalogue.paragraphStarts = paragraphStarts(catalogue.text);
    catalogue.paragraphStarts.squeeze();
}

int CatalogueIndex::paragraphAt(int group, int position) const
{
    const QList<int> &starts = m_catalogues.at(size_t(group)).paragraphStarts;
    return int(std::upper_bound(starts.cbegin(), starts.cend(), position) - starts.cbegin()) - 1;
}

int CatalogueIndex::paragraphStart(int group, int paragraph) const
{
    return m_catalogues.at(size_t(group)).paragraphStarts.at(paragraph);
}

int CatalogueIndex::paragraphEnd(int group, int paragraph) const
{
    const Catalogue &catalogue = m_catalogues.at(size_t(group));
    return paragraph + 1 < catalogue.paragraphStarts.size()
               ? catalogue.paragraphStarts.at(paragraph + 1) - 1
               : int(catalogue.text.size());
}

QStringList CatalogueIndex::unreadCaptions() const
{
    QStringList captions;
    for (int group = 0; group < GroupCount; ++group) {
        if (!isRead(group))
            captions.append(data::GroupTable[size_t(group)].caption.toString());
    }
    return captions;
}

qsizetype CatalogueIndex::textSize() const
{
    qsizetype size = 0;
    for (const Catalogue &catalogue : m_catalogues)
        size += catalogue.text.size();
    return size;
}

qsizetype CatalogueIndex::memoryUsed() const
{
    qsizetype bytes = qsizetype(sizeof(*this));
    for (const Catalogue &catalogue : m_catalogues) {
        bytes += catalogue.text.capacity() * qsizetype(sizeof(QChar));
        bytes += catalogue.paragraphStarts.capacity() * qsizetype(sizeof(int));
    }
    return bytes;
}
