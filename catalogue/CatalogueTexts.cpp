#include "CatalogueTexts.h"

#include "DataFiles.h"
#include "RtfText.h"

#include <QDir>

namespace fosdat::catalogue
{

namespace
{

// The reader puts this into over-long words so that lines can break there;
// no search sees it (a word is found across it), and neither does any
// reader of the text.
constexpr QChar ZeroWidthSpace{0x200B};

// The text as every reader of it takes it: one conversion from the file's
// bytes, then changes in place.
std::optional<QString> plainText(const QString &path)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    std::optional<QString> text = bytes ? rtf::readText(*bytes) : std::nullopt;
    if (text) {
        text->replace(QChar::Nbsp, u' ');
        text->remove(ZeroWidthSpace);
    }
    return text;
}

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

} // namespace

QString captionOf(int group)
{
    return data::GroupTable[std::size_t(group)].caption.toString();
}

QList<int> Catalogues::unread() const
{
    QList<int> groups;
    for (int group = 0; group < GroupCount; ++group) {
        if (isChosen(group) && !at(group).read)
            groups.append(group);
    }
    return groups;
}

QList<int> Catalogues::cut() const
{
    QList<int> groups;
    for (int group = 0; group < GroupCount; ++group) {
        if (at(group).isCut())
            groups.append(group);
    }
    return groups;
}

qsizetype Catalogues::characters() const
{
    qsizetype size = 0;
    for (const CatalogueText &catalogue : m_texts)
        size += catalogue.text.size();
    return size;
}

// A text held in part is read again once others have made room for more.
CataloguesPtr CatalogueReader::refresh(const QString &base, Groups chosen)
{
    auto next = std::make_shared<Catalogues>(*m_current);
    next->m_generation = m_current->generation() + 1;
    next->m_chosen = chosen;
    bool changed = chosen != m_current->m_chosen;
    for (int group = 0; group < GroupCount; ++group) {
        if (chosen.test(std::size_t(group))) {
            changed |= look(*next, group, base);
        } else if (m_files[std::size_t(group)].stamped) {
            next->m_texts[std::size_t(group)] = {};
            next->m_texts[std::size_t(group)].generation = next->generation();
            m_files[std::size_t(group)].stamped = false;
        }
    }
    for (int group = 0; changed && group < GroupCount; ++group) {
        if (next->at(group).isCut() && roomFor(*next, group) > m_files[std::size_t(group)].room)
            read(*next, group);
    }
    if (changed)
        m_current = std::move(next);
    return m_current;
}

// The data path is mapped onto the disk again only when its file is gone or
// the base has changed. Whether the file was read again.
bool CatalogueReader::look(Catalogues &next, int group, const QString &base)
{
    File &file = m_files[std::size_t(group)];
    const QDir dir(base);
    data::FileStamp stamp = data::FileStamp::of(file.path);
    if (!stamp.exists() || !file.path.startsWith(dir.path() + u'/')) {
        file.path = data::nativePath(data::GroupTable[std::size_t(group)].catalogPath, dir);
        stamp = data::FileStamp::of(file.path);
    }
    if (file.stamped && stamp == file.stamp)
        return false;
    file.stamp = stamp;
    file.stamped = true;
    read(next, group);
    return true;
}

void CatalogueReader::read(Catalogues &next, int group)
{
    CatalogueText &catalogue = next.m_texts[std::size_t(group)];
    catalogue = {}; // its room is free for the reading
    catalogue.generation = next.generation();
    File &file = m_files[std::size_t(group)];
    std::optional<QString> text = plainText(file.path);
    catalogue.read = text.has_value();
    file.room = roomFor(next, group);
    if (!text)
        return;
    if (text->size() > file.room) {
        const qsizetype cut = cutWithin(*text, file.room);
        const QStringView rest = QStringView(*text).sliced(cut);
        catalogue.leftOut = rest.size();
        catalogue.partParagraph = !rest.startsWith(u'\n');
        catalogue.leftOutParagraphs = rest.count(u'\n') + (catalogue.partParagraph ? 1 : 0);
        text->truncate(cut);
        text->squeeze(); // the rest's memory goes back now
    }
    catalogue.text = std::move(*text);
}

qsizetype CatalogueReader::roomFor(const Catalogues &next, int group) const
{
    qsizetype taken = 0;
    for (int other = 0; other < GroupCount; ++other) {
        if (other != group)
            taken += next.at(other).text.size();
    }
    return std::max<qsizetype>(0, m_budget - taken);
}

} // namespace fosdat::catalogue
