#pragma once

#include "DataPaths.h"
#include "References.h"

#include <QString>
#include <array>
#include <optional>

namespace fosdat::data
{

// One entry of the reference lists: the list that holds it (0 to 2, in the
// order of ReferenceListPaths), its number and its text as the list writes it.
struct Reference {
    int list = 0;
    int number = 0;
    QString text;
};

// Looks reference numbers up in the three reference lists below the current
// directory, as far as the reference panel shows them (readReferenceList()).
// A list is read and split the first time it is needed, and read
// again only when its file has changed (another size, modification time or
// file), so that a look-up costs a few file status calls.
class ReferenceLists
{
public:
    // The entry numbered `number` of the first list whose entries hold it;
    // nullopt when none does. Lists that cannot be read hold nothing.
    std::optional<Reference> find(int number);

private:
    // What identifies one version of a file on disk.
    struct FileStamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        quint64 inode = 0;
        quint64 device = 0;

        friend bool operator==(const FileStamp &, const FileStamp &) = default;
    };
    struct List {
        QString path;
        FileStamp stamp;
        QString text;
        QList<ReferenceEntry> entries; // in increasing number order
    };

    const List &current(size_t list);
    static FileStamp stampOf(const QString &path);

    std::array<List, ReferenceListPaths.size()> m_lists;
};

} // namespace fosdat::data
