#include "CatalogueIndex.h"

#include "DataFiles.h"
#include "RtfReader.h"

#include <QDir>

namespace fosdat
{

namespace
{

// Where a text is cut to fit `room` characters: after its last whole
// paragraph within them, or, in a paragraph longer than that, at `room`
// itself (never between the two halves of a surrogate pair).
qsizetype cutWithin(const QString &text, qsizetype room)
{
    if (room <= 0)
        return 0;
    const qsizetype end = text.lastIndexOf(u'\n', room);
    if (end >= 0)
        return end;
    return text.at(room - 1).isHighSurrogate() ? room - 1 : room;
}

// The text as the catalogue view's search reads the document.
QString searchedText(QString text)
{
    text.replace(QChar::Nbsp, u' ');
    text.remove(TextMatcher::ZeroWidthSpace);
    return text;
}

} // namespace

// A search checks every file first, so this is a status call per group; the
// data path is mapped onto the disk again only when its file is gone.
int CatalogueIndex::refresh(const QString &base)
{
    const QDir dir(base);
    int read = 0;
    for (int group = 0; group < GroupCount; ++group) {
        Catalogue &catalogue = m_catalogues[size_t(group)];
        data::FileStamp stamp = data::FileStamp::of(catalogue.path);
        if (!stamp.exists() || !catalogue.path.startsWith(dir.path() + u'/')) {
            catalogue.path = data::nativePath(data::GroupTable[size_t(group)].catalogPath, dir);
            stamp = data::FileStamp::of(catalogue.path);
        }
        if (catalogue.stamped && stamp == catalogue.stamp)
            continue;
        catalogue.stamp = stamp;
        catalogue.stamped = true;
        this->read(group);
        ++read;
    }
    if (read == 0)
        return 0;
    for (int group = 0; group < GroupCount; ++group) {
        const Catalogue &catalogue = m_catalogues[size_t(group)];
        if (catalogue.partly && roomFor(group) > catalogue.room) {
            this->read(group);
            ++read;
        }
    }
    return read;
}

qsizetype CatalogueIndex::roomFor(int group) const
{
    qsizetype taken = 0;
    for (int other = 0; other < GroupCount; ++other) {
        if (other != group)
            taken += catalogue(other).text.size();
    }
    return std::max<qsizetype>(0, m_budget - taken);
}

void CatalogueIndex::read(int group)
{
    Catalogue &catalogue = m_catalogues[size_t(group)];
    catalogue.text = ByteText(); // its room is free while the file is read
    std::optional<QString> text;
    if (const std::optional<QByteArray> bytes = data::readRegularFile(catalogue.path))
        text = rtf::readText(*bytes);
    catalogue.read = text.has_value();
    QString characters = searchedText(text ? std::move(*text) : QString());
    catalogue.room = roomFor(group);
    catalogue.partly = characters.size() > catalogue.room;
    if (catalogue.partly)
        characters.truncate(cutWithin(characters, catalogue.room));
    catalogue.text = ByteText(characters);
    countParagraphs(catalogue);
}

void CatalogueIndex::countParagraphs(Catalogue &catalogue)
{
    catalogue.paragraphCounts.clear();
    const qsizetype size = catalogue.text.size();
    int count = 0;
    for (qsizetype from = 0; from < size; from += CountStride) {
        catalogue.paragraphCounts.append(count);
        count += int(catalogue.text.paragraphEnds(from, std::min(from + CountStride, size)));
    }
    catalogue.paragraphCounts.squeeze();
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

QStringList CatalogueIndex::partlyReadCaptions() const
{
    QStringList captions;
    for (int group = 0; group < GroupCount; ++group) {
        if (isPartlyRead(group))
            captions.append(data::GroupTable[size_t(group)].caption.toString());
    }
    return captions;
}

CatalogueIndex::Scan::Scan(const CatalogueIndex &index, int group, const TextMatcher &matcher)
    : m_finder(index.catalogue(group).text, matcher), m_length(matcher.length())
{
}

qsizetype CatalogueIndex::Scan::next()
{
    if (m_from < 0)
        return -1;
    const qsizetype found = m_finder.indexIn(m_from);
    m_from = found < 0 ? -1 : found + m_length;
    return found;
}

int CatalogueIndex::paragraphAt(int group, qsizetype position) const
{
    const Catalogue &catalogue = this->catalogue(group);
    const qsizetype stretch = position / CountStride;
    if (stretch >= catalogue.paragraphCounts.size())
        return 0;
    return catalogue.paragraphCounts.at(stretch) +
           int(catalogue.text.paragraphEnds(stretch * CountStride, position));
}

CatalogueIndex::Paragraphs::Paragraphs(const CatalogueIndex &index, int group)
    : m_index(index), m_group(group)
{
}

const CatalogueIndex::Paragraphs::Paragraph &CatalogueIndex::Paragraphs::at(qsizetype position)
{
    if (position >= m_current.start && position <= m_current.end)
        return m_current;
    const ByteText &text = m_index.catalogue(m_group).text;
    // Onwards from the paragraph before, unless the checkpoints are nearer.
    const bool near =
        m_current.number >= 0 && position > m_current.end && position - m_current.end < CountStride;
    m_current.number = near ? m_current.number + int(text.paragraphEnds(m_current.end, position))
                            : m_index.paragraphAt(m_group, position);
    m_current.start = text.paragraphEndBefore(position) + 1;
    m_current.end = text.paragraphEndFrom(position);
    m_current.text = text.mid(m_current.start, m_current.end - m_current.start);
    return m_current;
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
        bytes += catalogue.text.memoryUsed() - qsizetype(sizeof(ByteText));
        bytes += catalogue.paragraphCounts.capacity() * qsizetype(sizeof(int));
    }
    return bytes;
}

} // namespace fosdat
