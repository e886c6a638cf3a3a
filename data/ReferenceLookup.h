#pragma once

#include "DataPaths.h"
#include "FileStamp.h"
#include "ReferenceParser.h"

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
// A list is read and split the first time it is needed, and read again only
// when its file has changed (FileStamp), so that a look-up costs a few file
// status calls.
class ReferenceLookup
{
public:
    // The entry numbered `number` of the first list whose entries hold it;
    // nullopt when none does. Lists that cannot be read hold nothing.
    std::optional<Reference> find(int number);

private:
    struct List {
        QString path;
        FileStamp stamp;
        QString text;
        QList<ReferenceEntry> entries; // in increasing number order
    };

    const List &current(size_t list);

    std::array<List, ReferenceListPaths.size()> m_lists;
};

} // namespace fosdat::data
