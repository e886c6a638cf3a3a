#pragma once

#include <QList>
#include <QString>

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
// begins `offset` characters into the text of paragraph `paragraph`.
struct SearchResultPlace {
    int group = -1;
    int paragraph = 0;
    int offset = 0;
    int length = 0;
};
