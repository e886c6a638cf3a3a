#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace fosdat
{

// A match as the search window lists it.
struct SearchMatch {
    QString line;      // the paragraph that holds it, shared by its matches
    int offset = 0;    // where the match begins in the paragraph
    int paragraph = 0; // the paragraph's number in the catalogue, from 0
};

// Matches of one search in one group, in the order of its text.
struct SearchResults {
    int group = -1; // the group's row in the group list
    QString caption;
    int matchLength = 0;
    QList<SearchMatch> matches;
};

// Where a listed match lies, for whoever shows the catalogue: the match
// begins `offset` characters into the text of paragraph `paragraph`, as the
// text-only reader gives the paragraph without its pictures and zero-width
// spaces.
struct SearchResultPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    int length = 0;
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
    QStringList unread;     // captions of the groups whose files could not be read
    QStringList partlyRead; // those held only in part, which the search covered up to their cut
};

} // namespace fosdat
