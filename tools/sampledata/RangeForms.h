#pragma once

#include "Stratigraphy.h"

#include <QString>

namespace fosdat::sampledata
{

class Random;

// How one catalogue writes its ranges: which units it prefers, and which code
// it gives the Triassic and the Tertiary ("T" is either in real catalogues).
struct RangeStyle {
    bool regionalUnits = false; // Tomm, Aren, Llan, Kaza, Plei... rather than the chart's stages
    bool triassicAsT = false;   // "T (Indu)" rather than "Tr (Indu)"
    bool tertiaryAsT = false;   // "T (Ypre)" rather than "Pg (Ypre)"

    static RangeStyle draw(Random &random);
};

// A range as a catalogue writes it, and what a reader must make of it.
struct WrittenRange {
    QString text;   // empty: the entry gives no range
    QString status; // "counted", "period-only", or the key of the reason it cannot be placed
    int first = -1; // the stages it stands for, where it can be placed
    int last = -1;
    bool uncertain = false; // a "?" anywhere in it
    bool extant = false;    // placed, and living today: open to the present
    // The codes of its first and last unit as written, "Rec" for an open
    // end; empty for a bound given by its period alone, and where no unit is
    // read.
    QString firstWritten;
    QString lastWritten;
    QString code; // where it cannot be placed: the text the reason names
};

// Writes the range of a genus that lived through `life`. Most are written as
// "K (Camp)", "K (Ceno-Camp)", "O (Aren) - S (Ludl)" with every separator and
// spacing; a few percent are uncertain ("?" before, inside or after a
// bracket, "(?)"), qualified (l, m, u), given by period only or ending in
// one ("K (Camp) - K"), open to the present (when `mayLive`); and some per
// thousand are what a reader cannot place: no range, an unknown code, a stage
// outside its period, a reversed range, "T" alone, a part a period lacks, an
// unknown start ("? - K (Camp)"), three parts, words before or after.
WrittenRange writeRange(StageRange life, bool mayLive, const RangeStyle &style, Random &random);

} // namespace fosdat::sampledata
