#pragma once

#include <QList>
#include <QString>

// A match as the search window lists it: where it and the paragraph that
// holds it lie in the text of its catalogue.
struct SearchMatch {
    int lineStart = 0; // the paragraph's first character
    int lineEnd = 0;   // one past its last
    int start = 0;     // the match's first character
    int paragraph = 0; // the paragraph's number in the catalogue, from 0
};

// Matches of one search in one group, in the order of its text. The text is
// the whole catalogue's, shared rather than copied.
struct SearchResults {
    int group = -1; // the group's row in the group list
    QString caption;
    QString text;
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
