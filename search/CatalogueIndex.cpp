#include "CatalogueIndex.h"

#include "DataFiles.h"
#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>

using namespace fosdat;

qsizetype CatalogueIndex::Catalogue::breaks(qsizetype from, qsizetype to) const
{
    if (bytes) {
        const char *data = bytes->bytes().constData();
        return std::count(data + from, data + to, '\n');
    }
    return std::count(characters.cbegin() + from, characters.cbegin() + to, u'\n');
}

qsizetype CatalogueIndex::Catalogue::breakBefore(qsizetype position) const
{
    if (bytes) {
        const void *found = memrchr(bytes->bytes().constData(), '\n', size_t(position));
        return found ? static_cast<const char *>(found) - bytes->bytes().constData() : -1;
    }
    return position > 0 ? characters.lastIndexOf(u'\n', position - 1) : -1;
}

qsizetype CatalogueIndex::Catalogue::breakFrom(qsizetype position) const
{
    if (bytes) {
        const char *data = bytes->bytes().constData();
        const void *found = memchr(data + position, '\n', size_t(size() - position));
        return found ? static_cast<const char *>(found) - data : size();
    }
    const qsizetype found = characters.indexOf(u'\n', position);
    return found < 0 ? size() : found;
}

CatalogueIndex::FileStamp CatalogueIndex::stampOf(const QString &path)
{
    struct stat status {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    const auto nanoseconds = [](const timespec &time) {
        return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    return {qint64(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
            quint64(status.st_ino), quint64(status.st_dev)};
}

// A search checks every file first, so this is a status call per group; the
// data path is mapped onto the disk again only when its file is gone.
int CatalogueIndex::refresh(const QString &base)
{
    const QDir dir(base);
    int read = 0;
    for (int group = 0; group < GroupCount; ++group) {
        Catalogue &catalogue = m_catalogues[size_t(group)];
        FileStamp stamp = stampOf(catalogue.path);
        if (stamp.size < 0 || !catalogue.path.startsWith(dir.path() + u'/')) {
            catalogue.path = data::nativePath(data::GroupTable[size_t(group)].catalogPath, dir);
            stamp = stampOf(catalogue.path);
        }
        if (catalogue.stamped && stamp == catalogue.stamp)
            continue;
        catalogue.stamp = stamp;
        catalogue.stamped = true;
        this->read(catalogue, catalogue.path);
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
    catalogue.characters = text ? std::move(*text) : QString();
    catalogue.characters.replace(QChar::Nbsp, u' ');
    catalogue.bytes = ByteText::fromText(catalogue.characters);
    if (catalogue.bytes)
        catalogue.characters = QString();
    catalogue.characters.squeeze();
    countParagraphs(catalogue);
}

void CatalogueIndex::countParagraphs(Catalogue &catalogue)
{
    catalogue.paragraphCounts.clear();
    int count = 0;
    for (qsizetype from = 0; from < catalogue.size(); from += CountStride) {
        catalogue.paragraphCounts.append(count);
        count += int(catalogue.breaks(from, std::min(from + CountStride, catalogue.size())));
    }
    catalogue.paragraphCounts.squeeze();
}

QString CatalogueIndex::text(int group) const
{
    const Catalogue &catalogue = this->catalogue(group);
    return catalogue.bytes ? catalogue.bytes->toString() : catalogue.characters;
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

CatalogueIndex::Scan::Scan(const CatalogueIndex &index, int group, const TextMatcher &matcher)
    : m_matcher(matcher)
{
    const Catalogue &catalogue = index.catalogue(group);
    if (catalogue.bytes && !matcher.needsCharacters(*catalogue.bytes))
        m_bytes = &*catalogue.bytes;
    else
        m_characters = catalogue.bytes ? catalogue.bytes->toString() : catalogue.characters;
}

qsizetype CatalogueIndex::Scan::next()
{
    if (m_from < 0)
        return -1;
    const qsizetype found =
        m_bytes ? m_matcher.indexIn(*m_bytes, m_from) : m_matcher.indexIn(m_characters, m_from);
    m_from = found < 0 ? -1 : found + m_matcher.length();
    return found;
}

int CatalogueIndex::paragraphAt(int group, qsizetype position) const
{
    const Catalogue &catalogue = this->catalogue(group);
    const qsizetype stretch = position / CountStride;
    if (stretch >= catalogue.paragraphCounts.size())
        return 0;
    return catalogue.paragraphCounts.at(stretch) +
           int(catalogue.breaks(stretch * CountStride, position));
}

CatalogueIndex::Paragraphs::Paragraphs(const CatalogueIndex &index, int group)
    : m_index(index), m_group(group)
{
}

const CatalogueIndex::Paragraphs::Paragraph &CatalogueIndex::Paragraphs::at(qsizetype position)
{
    if (position >= m_current.start && position <= m_current.end)
        return m_current;
    const Catalogue &catalogue = m_index.catalogue(m_group);
    // Onwards from the paragraph before, unless the checkpoints are nearer.
    const bool near =
        m_current.number >= 0 && position > m_current.end && position - m_current.end < CountStride;
    m_current.number = near ? m_current.number + int(catalogue.breaks(m_current.end, position))
                            : m_index.paragraphAt(m_group, position);
    m_current.start = catalogue.breakBefore(position) + 1;
    m_current.end = catalogue.breakFrom(position);
    const qsizetype length = m_current.end - m_current.start;
    m_current.text = catalogue.bytes ? catalogue.bytes->mid(m_current.start, length)
                                     : catalogue.characters.mid(m_current.start, length);
    return m_current;
}

qsizetype CatalogueIndex::textSize() const
{
    qsizetype size = 0;
    for (const Catalogue &catalogue : m_catalogues)
        size += catalogue.size();
    return size;
}

qsizetype CatalogueIndex::memoryUsed() const
{
    qsizetype bytes = qsizetype(sizeof(*this));
    for (const Catalogue &catalogue : m_catalogues) {
        bytes += catalogue.bytes ? catalogue.bytes->memoryUsed() : 0;
        bytes += catalogue.characters.capacity() * qsizetype(sizeof(QChar));
        bytes += catalogue.paragraphCounts.capacity() * qsizetype(sizeof(int));
    }
    return bytes;
}
