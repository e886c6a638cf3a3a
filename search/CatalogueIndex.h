#pragma once

#include "ByteText.h"
#include "GroupTable.h"
#include "TextMatcher.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The plain texts of the catalogues of every group, read with the text-only
// reader, for searching all groups at once. Each text holds the paragraphs a
// loaded catalogue shows, joined by '\n', with pictures left out and
// non-breaking spaces read as spaces, as the catalogue view's search reads
// them; it is held as bytes (ByteText) unless it has a character without
// one. One thread at a time may use an index.
class CatalogueIndex
{
public:
    static constexpr int GroupCount = int(fosdat::data::GroupTable.size());

    // Reads every catalogue below `base` whose file is new to the index or
    // has changed in size, modification or status change time (or is another
    // file) since it was read. A missing or unreadable file, or one that is not RTF, leaves its
    // group empty and unread. Gives the number of files read.
    int refresh(const QString &base);

    bool isRead(int group) const { return catalogue(group).read; }
    // A group's whole text, as characters.
    QString text(int group) const;
    // The captions of the groups whose files could not be read, in table order.
    QStringList unreadCaptions() const;

    // The matches of one search in one group's text, in order, each searched
    // for from the end of the one before.
    class Scan
    {
    public:
        Scan(const CatalogueIndex &index, int group, const fosdat::TextMatcher &matcher);
        // The next match's position in the text, or -1.
        qsizetype next();

    private:
        const fosdat::TextMatcher &m_matcher;
        const fosdat::ByteText *m_bytes = nullptr;
        QString m_characters; // the text, when it is not scanned as bytes
        qsizetype m_from = 0;
    };

    // The paragraphs that hold positions of one group's text given in order,
    // each found in time proportional to the distance from the one before,
    // and at most to a few thousand characters.
    class Paragraphs
    {
    public:
        struct Paragraph {
            int number = -1;
            qsizetype start = 0;
            qsizetype end = -1; // its '\n' or the text's end
            QString text;
        };
        Paragraphs(const CatalogueIndex &index, int group);
        const Paragraph &at(qsizetype position);

    private:
        const CatalogueIndex &m_index;
        int m_group;
        Paragraph m_current;
    };

    // Characters of text over all groups.
    qsizetype textSize() const;
    // Bytes held for the texts and their paragraph counts.
    qsizetype memoryUsed() const;

private:
    // What a file's status says of its contents: a file written again, or
    // another file put in its place, has another stamp.
    struct FileStamp {
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        qint64 changed = 0;  // status change, nanoseconds
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &path);
    struct Catalogue {
        std::optional<fosdat::ByteText> bytes;
        QString characters; // when the text has a character without a byte
        // The paragraphs begun before each stretch of CountStride characters.
        QList<int> paragraphCounts;
        QString path; // the file last read, as the data path mapped onto the disk
        FileStamp stamp;
        bool read = false;
        bool stamped = false; // stamp holds what the last refresh found

        qsizetype size() const { return bytes ? bytes->size() : characters.size(); }
        qsizetype breaks(qsizetype from, qsizetype to) const;
        // The paragraph break before `position`, and the one at or after it.
        qsizetype breakBefore(qsizetype position) const;
        qsizetype breakFrom(qsizetype position) const;
    };
    static constexpr qsizetype CountStride = 4096;

    const Catalogue &catalogue(int group) const { return m_catalogues.at(size_t(group)); }
    int paragraphAt(int group, qsizetype position) const;
    static void read(Catalogue &catalogue, const QString &path);
    static void countParagraphs(Catalogue &catalogue);

    std::array<Catalogue, GroupCount> m_catalogues;
};
