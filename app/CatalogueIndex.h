#pragma once

#include "GroupTable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The plain texts of the catalogues of every group, read with the text-only
// reader, for searching all groups at once. Each text holds the paragraphs a
// loaded catalogue shows, joined by '\n', with pictures left out and
// non-breaking spaces read as spaces, as the catalogue view's search reads
// them. One thread at a time may use an index.
class CatalogueIndex
{
public:
    static constexpr int GroupCount = int(fosdat::data::GroupTable.size());

    // Reads every catalogue below `base` whose file is new to the index or
    // has changed in size, modification or status change time since it was
    // read. A missing or unreadable file, or one that is not RTF, leaves its
    // group empty and unread. Gives the number of files read.
    int refresh(const QString &base);

    bool isRead(int group) const { return m_catalogues.at(size_t(group)).read; }
    const QString &text(int group) const { return m_catalogues.at(size_t(group)).text; }
    // The number of the paragraph that holds `position` in the group's text.
    int paragraphAt(int group, int position) const;
    // Where that paragraph begins, and where it ends (before its '\n').
    int paragraphStart(int group, int paragraph) const;
    int paragraphEnd(int group, int paragraph) const;
    // The captions of the groups whose files could not be read, in table order.
    QStringList unreadCaptions() const;

    // Characters of text over all groups.
    qsizetype textSize() const;
    // Bytes held for the texts and their paragraph tables.
    qsizetype memoryUsed() const;

private:
    struct FileStamp {
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const FileStamp &) const = default;
    };
    struct Catalogue {
        QString text;
        QList<int> paragraphStarts; // the first is 0
        FileStamp stamp;
        bool read = false;
        bool stamped = false; // stamp holds what the last refresh found
    };
    void read(Catalogue &catalogue, const QString &path);

    std::array<Catalogue, GroupCount> m_catalogues;
};
