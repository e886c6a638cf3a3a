#pragma once

#include "FileStamp.h"
#include "GroupTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <memory>

namespace fosdat::catalogue
{

inline constexpr int GroupCount = int(data::GroupTable.size());

// One group's catalogue as it was read: its plain text, or why there is none.
// The text is the text-only reader's (paragraphs joined by '\n', a line break
// within a paragraph as U+2028, pictures left out) as the program reads it
// everywhere: a non-breaking space as a space, and without zero-width spaces,
// which the reader puts into over-long words and which no search sees. So a
// position in it is a position in what the catalogue view's search reads.
struct CatalogueText {
    QString text;
    bool read = false; // false: the file is missing, unreadable or not RTF
    // What of the file's text is not held, when it did not fit in the budget
    // (the text then ends with its last whole paragraph that did).
    qsizetype leftOut = 0;
    qsizetype leftOutParagraphs = 0;
    // Held is only the start of its first paragraph, longer than the budget
    // left: searched, but no entry is read from it (a part of an entry is none).
    bool partParagraph = false;
    // The generation of the texts in which this text was first held: it
    // changes exactly when the group's file has been read again.
    quint64 generation = 0;

    bool isCut() const { return leftOut > 0; }
};

// Every group's catalogue text at one generation, shared by whatever reads
// them and never changed: a newer reading is a new object.
class Catalogues
{
public:
    // Greater for texts read later; 0 before any file was read.
    quint64 generation() const { return m_generation; }
    const CatalogueText &at(int group) const { return m_texts.at(std::size_t(group)); }
    // The groups whose files were looked at: all, unless a reading chose some.
    bool isChosen(int group) const { return m_chosen.test(std::size_t(group)); }

    // Chosen groups whose files could not be read, and those held in part,
    // in table order.
    QList<int> unread() const;
    QList<int> cut() const;
    qsizetype characters() const;

private:
    friend class CatalogueReader;
    quint64 m_generation = 0;
    std::array<CatalogueText, GroupCount> m_texts;
    std::bitset<GroupCount> m_chosen;
};
using CataloguesPtr = std::shared_ptr<const Catalogues>;

// The caption of a group, by its row.
QString captionOf(int group);

// Reads the catalogue files of a data set into Catalogues, again only where a
// file has changed on disk (data::FileStamp), one thread at a time.
//
// The texts together hold at most `budget` characters. The default, 64
// million (128 MB as UTF-16), is sixteen times the real data set's 4
// million, and enough for one catalogue file of the largest size the viewer
// accepts (64 MB) read whole beside a data set of real size. A text that does
// not fit in what the others leave is held up to its last whole paragraph
// that does (or the start of its first, when none does), and says how much it
// left out; it is read again once others have made room. While a file is read, its bytes (at most
// 64 MB) and its whole text are held besides.
class CatalogueReader
{
public:
    static constexpr qsizetype DefaultBudget = 64'000'000;
    using Groups = std::bitset<GroupCount>;

    explicit CatalogueReader(qsizetype budget = DefaultBudget) : m_budget(budget) {}

    // Every chosen group's catalogue below `base` (the folder that holds
    // dat/) whose file is new to the reader, has changed or is gone, read
    // again. The groups not chosen are left empty and unread. Costs a status
    // call per chosen file when nothing has changed.
    CataloguesPtr refresh(const QString &base, Groups chosen = Groups().set());
    // What the last refresh gave.
    CataloguesPtr current() const { return m_current; }

private:
    struct File {
        QString path; // the data path mapped onto the disk
        data::FileStamp stamp;
        bool stamped = false; // stamp holds what the last look found
        qsizetype room = 0;   // the characters its text could take when read
    };

    bool look(Catalogues &next, int group, const QString &base);
    void read(Catalogues &next, int group);
    qsizetype roomFor(const Catalogues &next, int group) const;

    qsizetype m_budget;
    std::array<File, GroupCount> m_files;
    CataloguesPtr m_current = std::make_shared<const Catalogues>();
};

} // namespace fosdat::catalogue
