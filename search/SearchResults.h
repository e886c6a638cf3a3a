#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <memory>

namespace fosdat::catalogue
{
class CatalogueEntries;
}

namespace fosdat
{

// What the search window asks for: the text with the find dialog's options,
// or the lines that cite a reference number; in every group or in one.
struct SearchQuery {
    QString text;
    QTextDocument::FindFlags flags;
    int citedReference = 0; // above 0: the lines citing it, the text aside
    int group = -1;         // the one group listed; -1: all

    bool isCitingSearch() const { return citedReference > 0; }
};

// How a match stands to the genus its line names; the results list the
// matches of a better rank first.
enum class MatchRank {
    WholeName, // the match is the genus's whole name
    NameStart, // the start of it
    Elsewhere,
};
inline constexpr int MatchRankCount = 3;

// A match as the search window lists it.
struct SearchMatch {
    QString line;         // the paragraph that holds it, shared by its matches
    int offset = 0;       // where the match begins in the paragraph
    int paragraph = 0;    // the paragraph's number in the catalogue, from 0
    int genusEnd = 0;     // where the genus the paragraph begins with ends; 0 for none
    qsizetype entry = -1; // the genus entry whose line holds it, in the batch's entries
};

// Matches of one search in one group and of one rank, in the order of its text.
struct SearchResults {
    int group = -1; // the group's row in the group list
    QString caption;
    int matchLength = 0;
    QList<SearchMatch> matches;
    MatchRank rank = MatchRank::Elsewhere;
    // The genus entries of the texts searched, which the matches' entries are.
    std::shared_ptr<const catalogue::CatalogueEntries> entries;
};

// Where a listed match lies, for whoever shows the catalogue: the match
// begins `offset` characters into the text of paragraph `paragraph`, as the
// text-only reader gives the paragraph without its pictures and zero-width
// spaces. `line` is that paragraph's text.
struct SearchResultPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    int length = 0;
    QString line;
};

// A listed match as it is copied or exported: its group, its line and the
// genus entry there, whose parts the export writes.
struct ResultLine {
    QString caption;
    QString line;
    std::shared_ptr<const catalogue::CatalogueEntries> entries;
    qsizetype entry = -1; // none
};

// How far a search over every catalogue has come, and what it has found.
struct SearchCount {
    enum class Stage {
        Idle,      // no search: the text is empty
        Reading,   // the catalogues are read for the first search
        Searching, // the numbers so far
        Finished,  // the final numbers
    };
    Stage stage = Stage::Idle;
    qsizetype matches = 0;
    int groups = 0;         // that hold a match
    int listed = 0;         // the matches handed over for listing
    QString filter;         // the caption of the one group listed; empty: all
    qsizetype filtered = 0; // the matches in that group
    QStringList unread;     // captions of the groups whose files could not be read
    // Those held only in part, which the search covered up to their cut.
    struct Cut {
        QString caption;
        qsizetype leftOut = 0; // characters
        friend bool operator==(const Cut &, const Cut &) = default;
    };
    QList<Cut> cut;
};

// Fields as one row of text a spreadsheet takes from the clipboard: one tab
// between them, their own tabs and line breaks made spaces, a line break at
// the end.
inline QString tabSeparatedRow(QStringList fields)
{
    for (QString &field : fields) {
        for (QChar &c : field) {
            if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator)
                c = u' ';
        }
    }
    return fields.join(u'\t') + u'\n';
}

} // namespace fosdat
