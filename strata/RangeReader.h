#pragma once

#include "RangeTokens.h"
#include "Reason.h"

#include <QStringView>
#include <span>

namespace fosdat::strata
{

class TimeScale;

// A piece of a catalogue's text, by position. 32 bits: a catalogue's text
// comes from a data file of at most 64 MB, and a list of entries holds
// several spans each.
struct TextSpan {
    qint32 start = 0;
    qint32 length = 0;

    static TextSpan between(qsizetype from, qsizetype to)
    {
        return {qint32(from), qint32(to - from)};
    }
    bool isEmpty() const { return length == 0; }
    qsizetype end() const { return qsizetype(start) + length; }
    QStringView in(QStringView text) const { return text.mid(start, length); }
};

// What a written range means in a time scale.
struct Placement {
    Reason reason = Reason::None; // set when the range cannot be placed
    bool uncertain = false;       // a "?" anywhere in it
    bool extant = false;          // placed, and open to the present: "Rec", "R", "Recent"
    bool periodOnly = false;      // a bound given by its period alone: "K", "l-K", "K (Camp) - K"
    int first = -1;               // the stages it is placed in, oldest first
    int last = -1;
    TextSpan code; // the text that reason names
    // The codes of its first and last unit as written, without "?", also where
    // it cannot be placed; empty for a bound given by its period alone, and
    // for an open end.
    TextSpan firstWritten;
    TextSpan lastWritten;
    // Where placed, its ages in Ma as written: the base of its first unit
    // and the top of its last, by the units' own ages (a regional unit's lie
    // within its stages'); a period's stages' for a bound given by its
    // period alone, the top of the youngest stage for the present.
    double base = 0;
    double top = 0;
    // The units of firstWritten and lastWritten, as indices into the scale's
    // units; -1 for a bound given by its period alone, or the present.
    int firstUnit = -1;
    int lastUnit = -1;

    bool isPlaced() const { return reason == Reason::None; }
};

// Reads text[zone], the part of a genus entry between its author (or its
// notes) and its references, as one range: "K (Camp)", "K (Ceno-Camp)",
// "O (Aren) - S (Ludl)", "T (Ypre) - Rec", "l-K", "J - K", "Camp - Maas",
// with "?" anywhere. The zone is the range whole or it is not read: anything
// left over, a third part, a list, words, makes it Unreadable (`code` the
// whole zone), never a shorter range. Every period code, stage code and code
// of the present comes from `scale`; what it does not know is a reason
// naming the code, never a guess. An empty zone gives NoRange.
Placement readRange(QStringView text, TextSpan zone, const TimeScale &scale);
// The same, of the zone's tokens as tokenize() gives them (or as a longer
// stretch's tokens hold them: whether a blank stands before the first is not
// asked).
Placement readRange(QStringView text, TextSpan zone, std::span<const Token> tokens,
                    const TimeScale &scale);

// Whether a range may begin at tokens[at] of a stretch cut from `text`: a
// "?", a known period code followed by a stage in parentheses, a dash or
// nothing, a qualified period ("l-K"), a known unit followed by a dash or
// nothing, a known unit in parentheses. For telling an author without a year
// from the range after it.
bool beginsRange(QStringView text, const Tokens &tokens, int at, const TimeScale &scale);

} // namespace fosdat::strata
