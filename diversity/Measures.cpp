#include "Measures.h"

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;
using strata::Count;
using strata::Rate;

namespace
{

Measure counting(const QString &name, const QString &description, Count count)
{
    return {name, description, count, std::nullopt, count};
}

Measure rating(const QString &name, const QString &description, Rate rate, Count listed)
{
    return {name, description, std::nullopt, rate, listed};
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
    };
    return all;
}

QString countName(Count count)
{
    for (const Measure &measure : measures()) {
        if (measure.count == count)
            return measure.name;
    }
    return {};
}

std::optional<double> measureValue(const Measure &measure, const strata::StageCounts &counts,
                                   int stage)
{
    if (measure.count)
        return counts.count(stage, *measure.count);
    return counts.rate(stage, *measure.rate);
}

} // namespace fosdat::diversity
