#include "Measures.h"

#include <QLocale>
#include <cmath>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;
using strata::Count;
using strata::Rate;

namespace
{

Measure counting(const QString &name, const QString &description, Count count)
{
    return {name, description, count, std::nullopt, std::nullopt, count};
}

Measure rating(const QString &name, const QString &description, Rate rate, Count listed)
{
    return {name, description, std::nullopt, rate, std::nullopt, listed};
}

// Origination and extinction together, per stage or per million years.
Measure bothRates(bool perMyr)
{
    const QString description = u"Удельные скорости появления (p) и вымирания (q) %1 вместе, "
                                u"с ±1 стандартной ошибкой (биномиальное приближение)%2"_s;
    return {perMyr ? u"Скорости на млн лет"_s : u"Скорости появления и вымирания"_s,
            perMyr
                ? description.arg(u"на млн лет"_s, u"; пусто для интервалов короче миллиона лет"_s)
                : description.arg(u"на интервал"_s, QString()),
            std::nullopt,
            perMyr ? Rate::OriginationPerMyr : Rate::Origination,
            perMyr ? Rate::ExtinctionPerMyr : Rate::Extinction,
            Count::Genera};
}

} // namespace

const QList<Measure> &measures()
{
    static const QList<Measure> all{
        counting(u"Роды в ярусе"_s,
                 u"Разнообразие: все учтённые роды, чей диапазон включает ярус"_s, Count::Genera),
        counting(u"Первые появления"_s, u"Роды, которые в этом ярусе появляются"_s,
                 Count::FirstAppearances),
        counting(u"Последние появления"_s,
                 u"Роды, которые в этом ярусе исчезают (ныне живущие не исчезают)"_s,
                 Count::LastAppearances),
        counting(u"Только в ярусе"_s, u"Роды, которые появляются и исчезают в этом ярусе"_s,
                 Count::SingleStage),
        counting(u"Появились, ушли выше"_s,
                 u"Роды, которые появляются в ярусе и пересекают его верхнюю границу"_s,
                 Count::FirstCrossingTop),
        counting(u"Пришли снизу, исчезли"_s,
                 u"Роды, которые пересекают нижнюю границу яруса и исчезают в нём"_s,
                 Count::CrossingBaseLast),
        counting(u"Проходят насквозь"_s, u"Роды, которые пересекают обе границы яруса"_s,
                 Count::RangeThrough),
        counting(u"Пересекают нижнюю границу"_s, u"Роды, появившиеся до яруса"_s,
                 Count::BaseCrossers),
        counting(u"Пересекают верхнюю границу"_s,
                 u"Роды, которые живут и после яруса (или живут ныне)"_s, Count::TopCrossers),
        rating(u"Доля появлений"_s, u"Первые появления, делённые на роды в ярусе"_s,
               Rate::ProportionalOrigination, Count::FirstAppearances),
        rating(u"Доля исчезновений"_s, u"Последние появления, делённые на роды в ярусе"_s,
               Rate::ProportionalExtinction, Count::LastAppearances),
        rating(u"Появление на ярус"_s,
               u"Удельная скорость появления: ln(пересекают верхнюю границу / проходят "
               u"насквозь)"_s,
               Rate::Origination, Count::FirstCrossingTop),
        rating(u"Вымирание на ярус"_s,
               u"Удельная скорость вымирания: ln(пересекают нижнюю границу / проходят "
               u"насквозь)"_s,
               Rate::Extinction, Count::CrossingBaseLast),
        rating(u"Появление на млн лет"_s,
               u"Удельная скорость появления, делённая на длительность яруса"_s,
               Rate::OriginationPerMyr, Count::FirstCrossingTop),
        rating(u"Вымирание на млн лет"_s,
               u"Удельная скорость вымирания, делённая на длительность яруса"_s,
               Rate::ExtinctionPerMyr, Count::CrossingBaseLast),
        bothRates(false),
        bothRates(true),
    };
    return all;
}

QString englishName(const Measure &measure)
{
    if (measure.pairedRate)
        return measure.isPerMyr() ? u"Origination and extinction rates per Myr"_s
                                  : u"Origination and extinction rates"_s;
    if (measure.count) {
        switch (*measure.count) {
        case Count::SingleStage:
            return u"Single-interval genera"_s;
        case Count::FirstCrossingTop:
            return u"First appearances crossing the top"_s;
        case Count::CrossingBaseLast:
            return u"Last appearances crossing the base"_s;
        case Count::RangeThrough:
            return u"Range-through genera"_s;
        case Count::Genera:
            return u"Genera"_s;
        case Count::FirstAppearances:
            return u"First appearances"_s;
        case Count::LastAppearances:
            return u"Last appearances"_s;
        case Count::BaseCrossers:
            return u"Bottom-boundary crossers"_s;
        case Count::TopCrossers:
            return u"Top-boundary crossers"_s;
        }
    }
    switch (measure.rate.value_or(Rate::Origination)) {
    case Rate::ProportionalOrigination:
        return u"Proportional origination"_s;
    case Rate::ProportionalExtinction:
        return u"Proportional extinction"_s;
    case Rate::Origination:
        return u"Origination rate per interval"_s;
    case Rate::Extinction:
        return u"Extinction rate per interval"_s;
    case Rate::OriginationPerMyr:
        return u"Origination rate per Myr"_s;
    case Rate::ExtinctionPerMyr:
        return u"Extinction rate per Myr"_s;
    }
    return measure.name;
}

QString countName(Count count)
{
    for (const Measure &measure : measures()) {
        if (measure.count == count)
            return measure.name;
    }
    return {};
}

QString formatValue(std::optional<double> value, bool whole)
{
    if (!value)
        return {};
    const QLocale russian(QLocale::Russian);
    return whole ? russian.toString(qint64(std::llround(*value)))
                 : russian.toString(*value, 'f', 3);
}

QString formatAge(double ma)
{
    return QLocale(QLocale::Russian).toString(ma, 'g', 7);
}

QString taxaAfter(qsizetype number, strata::TaxonLevel level)
{
    const bool one = number % 10 == 1 && number % 100 != 11;
    switch (level) {
    case strata::TaxonLevel::Family:
        return one ? u"семейства"_s : u"семейств"_s;
    case strata::TaxonLevel::Order:
        return one ? u"отряда"_s : u"отрядов"_s;
    case strata::TaxonLevel::Genus:
        break;
    }
    return one ? u"рода"_s : u"родов"_s;
}

QString youngestLastAppearancesNote()
{
    return u"В самом молодом интервале последние появления — роды, чей диапазон кончается "
           u"в нём без «Rec»: часть их может жить и ныне"_s;
}

bool Measure::isPerMyr() const
{
    return rate == Rate::OriginationPerMyr || rate == Rate::ExtinctionPerMyr;
}

QString measureText(const Measure &measure, const strata::StageCounts &counts, int stage)
{
    const QString first = formatValue(measureValue(measure, counts, stage), measure.isCount());
    if (!measure.pairedRate)
        return first;
    return first + u" / "_s + formatValue(counts.rate(stage, *measure.pairedRate), false);
}

std::optional<double> measureValue(const Measure &measure, const strata::StageCounts &counts,
                                   int stage)
{
    if (measure.count)
        return counts.count(stage, *measure.count);
    return counts.rate(stage, *measure.rate);
}

} // namespace fosdat::diversity
