#pragma once

#include "SearchResults.h"

#include <QStringView>

namespace fosdat
{

// A piece of a catalogue line, by position.
struct LineSpan {
    qsizetype start = 0;
    qsizetype length = 0;

    bool isEmpty() const { return length == 0; }
    qsizetype end() const { return start + length; }
    QStringView in(QStringView line) const { return line.mid(start, length); }
    friend bool operator==(const LineSpan &, const LineSpan &) = default;
};

// The genus name a catalogue line begins with, after a mark such as "†" or
// "?": a capitalised Latin word ("Acrorhabdammina"), not a heading word
// ("Family") and not the name of a family, subfamily or superfamily (a lone
// "Acrorhabdamminidae" is a heading). Empty for any other line.
LineSpan genusName(QStringView line);

// How a match stands to the genus of its line: the genus's whole name, the
// start of it, or anywhere else. Matches ranked so come first.
MatchRank rankOfMatch(LineSpan genus, qsizetype offset, qsizetype length);

// The parts of a genus entry's line as it writes them:
// "Acrorhabdammina Ashby, 1975  P (Asse) - P (Ufim)  (206, 553, 1020)".
// The references are the first parenthesised list of reference numbers, as
// the reference links recognise them ("206, 553, 1020"); the range is what
// stands between the genus (with its author and year) and them, a family
// note ("сем. X") left out. Every part is empty where the line gives none.
struct GenusLine {
    LineSpan genus;
    LineSpan range;
    LineSpan references;
};
GenusLine readGenusLine(QStringView line);

} // namespace fosdat
