#pragma once

#include "StageCounts.h"
#include "Taxa.h"

#include <QList>
#include <QString>
#include <optional>

namespace fosdat::diversity
{

// One quantity per stage that the window plots and its stage table shows:
// one of the counts, or a rate made of them.
struct Measure {
    QString name;        // for the drop-down, the table's header and the axis
    QString description; // what it means, for tooltips
    std::optional<strata::Count> count;
    std::optional<strata::Rate> rate;
    // A second rate drawn beside the first: extinction beside origination.
    std::optional<strata::Rate> pairedRate;
    // The genera listed for a stage under this measure: those it counts,
    // or for a rate those whose count it rests on.
    strata::Count listed = strata::Count::Genera;

    bool isCount() const { return count.has_value(); }
    // Whether its values are rates per million years.
    bool isPerMyr() const;
};

// Every measure, range-through diversity first.
const QList<Measure> &measures();

// The measure's name in English, for figures with English labels.
QString englishName(const Measure &measure);

// The name of the measure that is `count` itself.
QString countName(strata::Count count);

// The measure's value in `stage`: empty where a rate is undefined.
std::optional<double> measureValue(const Measure &measure, const strata::StageCounts &counts,
                                   int stage);
// How the window writes numbers: whole counts as they are, rates with three
// decimals, with the Russian decimal comma.
QString formatValue(std::optional<double> value, bool whole);
QString formatAge(double ma);
// "рода" after "из 1", "из 21"; "родов" after other numbers; the same of
// families and orders.
QString taxaAfter(qsizetype number, strata::TaxonLevel level);

// Why the last appearances of the youngest interval are not all
// extinctions: the Pull of the Recent, as the table and the tooltip say it.
QString youngestLastAppearancesNote();

// The same as a table shows it: "0,25 / 0,13" for a pair of rates.
QString measureText(const Measure &measure, const strata::StageCounts &counts, int stage);

} // namespace fosdat::diversity
