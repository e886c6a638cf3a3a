#pragma once

#include "RangeTokens.h"
#include "Reason.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace fosdat::strata
{

class TimeScale;

// A piece of a text, by position.
struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;

    bool isEmpty() const { return length == 0; }
    qsizetype end() const { return start + length; }
    QStringView in(QStringView text) const { return text.mid(start, length); }
};

// What a written range means in a time scale.
struct Placement {
    Reason reason = Reason::None; // set when the range cannot be placed
    TextSpan code;                // the text that reason names
    int first = -1;               // the stages it is placed in, oldest first
    int last = -1;
    // The codes of its first and last unit as written, without "?"; empty for
    // a bound given by its period alone, and for an open end.
    TextSpan firstWritten;
    TextSpan lastWritten;
    bool uncertain = false;  // a "?" anywhere in it
    bool extant = false;     // open to the present: "Rec", "R", "Recent"
    bool periodOnly = false; // a bound given by its period alone: "K", "l-K"

    bool isPlaced() const { return reason == Reason::None; }
};

// A range read from a text: where it stands and what it means. Where none is
// found, `range` is empty and the reason is NoRange, or Unreadable when text
// stands where the range should (`code` then spans that text).
struct RangeReading {
    TextSpan range;
    Placement placement;
};

// Finds and reads the range in text[from, to), the part of a genus entry
// between its name and its references. Text before the range (an author and
// year) is skipped. Every period code, stage code and the code of the present
// comes from `scale`; whatever it does not know is a reason, never a guess.
RangeReading readRange(QStringView text, qsizetype from, qsizetype to, const TimeScale &scale);

// The same over tokens [from, to) of a line already cut into tokens.
RangeReading readRange(QStringView text, Tokens &tokens, int from, int to, const TimeScale &scale);

// The readings of the ranges of one text, by the characters they were read
// from: most entries of a catalogue repeat a range written before, and the
// same characters read the same. It holds views of the text, and serves one
// text and one time scale only.
class RangeMemo
{
public:
    const RangeReading *find(QStringView characters) const;
    void insert(QStringView characters, const RangeReading &reading);

private:
    struct Slot {
        quint32 hash = 0;
        qint32 known = -1; // in m_known, or -1 for a free slot
    };
    struct Known {
        qint32 start; // of its characters in m_characters
        qint32 length;
        RangeReading reading; // spans from the characters' start
    };

    void place(quint32 hash, qint32 known);

    // A table at most half full, a copy of every range's characters and its
    // reading near each other: a catalogue's ranges are looked up in an
    // order of their own, and a memo spread over the text missed the cache.
    QList<Slot> m_slots;
    QList<Known> m_known;
    QString m_characters;
};

// The same as above, served from `memo` where it holds the characters.
RangeReading readRange(QStringView text, Tokens &tokens, int from, int to, const TimeScale &scale,
                       RangeMemo &memo);

// The range of text[from, to), the part of a genus entry between its name and
// its references that holds no family note, from the start of its first token
// to the end of its last, where a range follows the author (false where none
// does): read as above, and most often found in `memo` without cutting the
// text into tokens.
bool readRangeAfterAuthor(QStringView text, qsizetype from, qsizetype to, const TimeScale &scale,
                          RangeMemo &memo, RangeReading *reading);

} // namespace fosdat::strata
