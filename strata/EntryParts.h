#pragma once

#include "RangeReader.h"

#include <QStringView>
#include <optional>

namespace fosdat::strata
{

class TimeScale;

// The genus name a catalogue line begins with at text[at] (after blanks and
// a mark such as "†", "‡", "*" or "?"): a capitalised Latin word, with a
// subgenus in parentheses after it ("Aus (Bus)"). Nothing where the line
// begins otherwise. `familyRank` tells a lone name of a family, subfamily or
// superfamily ("Ausidae", "Ausinae", "Ausoidea"), which is a heading; no
// genus name ends so. `colon`: a colon follows the name at once, as it does
// a genus written without its author ("Aus: K (Camp)") and a word that
// opens a note ("Note: ..."); the line is an entry only where a range or
// references follow.
struct GenusName {
    TextSpan span;
    bool familyRank = false;
    bool colon = false;
};
std::optional<GenusName> readGenusName(QStringView text, qsizetype at, qsizetype end,
                                       const TimeScale &scale);

// What a heading line names, and so which of the class, order and family
// above it end there.
enum class Rank { Class, Subclass, Order, Suborder, Superfamily, Family, Subfamily };

// A heading line at text[at]: its word ("Класс", "Отряд", "сем.", "Family"…)
// gives the rank; the name follows, a Latin name in parentheses after a
// Russian one kept apart ("Класс Морские лилии (Crinoidea)"), a "?" before
// or after the name kept apart too ("Семейство ?Xidae": placed with doubt).
// Nothing where the line is no heading.
struct Heading {
    Rank rank;
    TextSpan name;
    TextSpan latin;
    bool uncertain = false;
};
std::optional<Heading> readHeading(QStringView text, qsizetype at, qsizetype end);

// The rank a lone name of family rank ends in ("-idae", "-inae", "-oidea").
Rank rankOfName(QStringView name);

// What a genus entry writes after its name, as spans of the text. The order
// of its parts, as catalogues write them:
//   Aus Smith, 1900 [отр. Xida, сем. Xidae]: K (Camp) - Rec (12, 34).
//   Aus Smith, 1900  K (Camp)  (12, 34) сем. Xidae nom. dub.
//   Aus (сем. ?Xidae) K (Camp) (12)
// The references are the first parenthesised list of reference numbers; a
// note of the order and family ("отр. X", "сем. X", "сем. ?X", bracketed with
// both or alone) may stand before or after the range, or after the
// references. The author ends with its year, and what closes it; without a
// year, it is a run of names before the range. The zone is whatever stands
// between the author (or a note) and the references, with the punctuation
// around it left out: the range, or what stands in its place; `placement`
// is what readRange() reads of it.
struct EntryParts {
    TextSpan author;
    TextSpan zone;
    Placement placement;
    TextSpan references; // the numbers, inside the parentheses
    bool hasReferences = false;
    TextSpan order; // from the entry's own note; empty where it names none
    TextSpan family;
    bool familyUncertain = false; // "сем. ?Xidae"
};
EntryParts readEntryParts(QStringView text, qsizetype nameEnd, qsizetype end,
                          const TimeScale &scale);

} // namespace fosdat::strata
