#pragma once

#include "ByteText.h"
#include "FileStamp.h"
#include "GroupTable.h"
#include "TextMatcher.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace fosdat
{

// The plain texts of the catalogues of every group, read with the text-only
// reader, for searching all groups at once. Each text holds the paragraphs a
// loaded catalogue shows, joined by '\n', with pictures and zero-width spaces
// left out and non-breaking spaces read as spaces, as the catalogue view's
// search reads them (ByteText). One thread at a time may use an index.
class CatalogueIndex
{
public:
    static constexpr int GroupCount = int(data::GroupTable.size());

    // The characters all texts together may hold: 32 million, eight times the
    // real data set's 4 million (36,000 genera), at two bytes a character
    // (64 MB). It keeps the index's memory bounded whatever the data set
    // holds: the viewer accepts catalogue files of up to 64 MB, and 34 of
    // them could make as many characters as bytes. A text that does not fit
    // in what is left is held up to its last whole paragraph that does, and
    // the search names it (isPartlyRead()).
    static constexpr qsizetype DefaultBudget = 32'000'000;

    explicit CatalogueIndex(qsizetype budget = DefaultBudget) : m_budget(budget) {}

    // Reads every catalogue below `base` whose file is new to the index or
    // has changed since it was read (data::FileStamp); a text held in part is
    // read again once others have made room. A missing or unreadable file,
    // or one that is not RTF, leaves its group empty and unread. Gives the
    // number of files read.
    int refresh(const QString &base);

    bool isRead(int group) const { return catalogue(group).read; }
    // Whether only the start of the group's text is held, within the budget.
    bool isPartlyRead(int group) const { return catalogue(group).partly; }
    // A group's text as characters: a copy of what the index holds.
    QString text(int group) const { return catalogue(group).text.toString(); }
    // The captions of the groups whose files could not be read, in table order.
    QStringList unreadCaptions() const;
    // The captions of the groups held only in part, in table order.
    QStringList partlyReadCaptions() const;

    // The matches of one search in one group's text, in order, each searched
    // for from the end of the one before.
    class Scan
    {
    public:
        // `matcher` must outlive the scan.
        Scan(const CatalogueIndex &index, int group, const TextMatcher &matcher);
        // The next match's position in the text, or -1.
        qsizetype next();

    private:
        ByteText::Finder m_finder;
        qsizetype m_length;
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
    struct Catalogue {
        ByteText text;
        // The paragraphs begun before each stretch of CountStride characters.
        QList<int> paragraphCounts;
        QString path; // the file last read, as the data path mapped onto the disk
        data::FileStamp stamp;
        bool read = false;
        bool partly = false;  // only the start of the text is held
        qsizetype room = 0;   // the characters it could take when it was read
        bool stamped = false; // stamp holds what the last refresh found
    };
    static constexpr qsizetype CountStride = 4096;

    const Catalogue &catalogue(int group) const { return m_catalogues.at(size_t(group)); }
    int paragraphAt(int group, qsizetype position) const;
    // The characters a group's text may take: what the others leave of the budget.
    qsizetype roomFor(int group) const;
    void read(int group);
    static void countParagraphs(Catalogue &catalogue);

    qsizetype m_budget;
    std::array<Catalogue, GroupCount> m_catalogues;
};

} // namespace fosdat
