#include "ReferenceLookup.h"

#include "DataFiles.h"
#include "ReferenceListReader.h"

#include <algorithm>

namespace fosdat::data
{

std::optional<Reference> ReferenceLookup::find(int number)
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

const ReferenceLookup::List &ReferenceLookup::current(size_t index)
{
    List &list = m_lists[index];
    const QString path = nativePath(ReferenceListPaths[index]);
    const FileStamp stamp = FileStamp::of(path);
    if (path == list.path && stamp == list.stamp)
        return list;
    list.path = path;
    list.stamp = stamp;
    std::optional<ReferenceListText> read = readReferenceList(path);
    list.text = read ? std::move(read->text) : QString();
    list.entries = splitReferenceList(list.text);
    return list;
}

} // namespace fosdat::data
