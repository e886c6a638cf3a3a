#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

namespace fosdat::sampledata
{

struct Catalogue;

// Where the truth about the sample's genus entries lies, beside its dat/.
inline constexpr QStringView TruthPath = u"truth/genera.csv";

// What a reader must make of every genus entry of the catalogues, one per
// row of the group table, for the tests of the range reader and the counts:
// CSV as RFC 4180 has it, in UTF-8 with a header row and the columns
//   group           its caption
//   line            as `genusLines` gives it
//   genus
//   first_stage, last_stage
//                   codes of the time scale; empty where it cannot be placed
//   extant          1 where placed and open to the present, else 0
//   uncertain       1 where a "?" stands in the range, else 0
//   status          "counted", "period-only" or the key of the reason it
//                   cannot be placed
//   family, order   as the entry or the headings above it give them
//   family_uncertain
//                   1 where the entry writes its family with a "?"
//   class, class_latin
//                   the class heading's name and its Latin name in
//                   parentheses, where it gives one
//   author, references
//                   as written ("Smith, 1900", "12, 34")
//   range           as written; empty where the entry gives none
//   first_as_written, last_as_written
//                   the codes of its first and last unit
//   code            the text the reason it cannot be placed names
// The first ten columns never hold a comma or a quote.
QByteArray truthTable(const QList<Catalogue> &catalogues, const QList<QList<int>> &genusLines);

} // namespace fosdat::sampledata
