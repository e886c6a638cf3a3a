#include "ReferenceLists.h"

#include "DataFiles.h"
#include "ReferenceListText.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace fosdat::data
{

std::optional<Reference> ReferenceLists::find(int number)
{
    for (size_t index = 0; index < m_lists.size(); ++index) {
        const List &list = current(index);
        const auto entry = std::lower_bound(
            list.entries.begin(), list.entries.end(), number,
            [](const ReferenceEntry &entry, int wanted) { return entry.number < wanted; });
        if (entry != list.entries.end() && entry->number == number)
            return Reference{int(index), number, list.text.mid(entry->position, entry->length)};
    }
    return std::nullopt;
}

const ReferenceLists::List &ReferenceLists::current(size_t index)
{
    List &list = m_lists[index];
    const QString path = nativePath(ReferenceListPaths[index]);
    const FileStamp stamp = stampOf(path);
    if (path == list.path && stamp == list.stamp)
        return list;
    list.path = path;
    list.stamp = stamp;
    std::optional<ReferenceListText> read = readReferenceList(path);
    list.text = read ? std::move(read->text) : QString();
    list.entries = splitReferenceList(list.text);
    return list;
}

ReferenceLists::FileStamp ReferenceLists::stampOf(const QString &path)
{
    struct stat info {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            quint64(info.st_ino), quint64(info.st_dev)};
}

} // namespace fosdat::data
