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
// CSV in UTF-8 with a header row and the columns group (its caption), line
// (as `genusLines` gives it), genus, first_stage and last_stage (codes of the
// time scale; empty where it cannot be placed), extant, uncertain (1 or 0),
// status ("counted", "period-only" or the key of the reason it cannot be
// placed), family and order.
QByteArray truthTable(const QList<Catalogue> &catalogues, const QList<QList<int>> &genusLines);

} // namespace fosdat::sampledata
