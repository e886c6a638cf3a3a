#include "Stratigraphy.h"

#include "Random.h"

#include <algorithm>
#include <array>

namespace fosdat::sampledata::stratigraphy
{

using namespace Qt::StringLiterals;

namespace
{

// Four-letter stage abbreviations in use in range tables of fossil genera;
// the Cambrian keeps its older Siberian and North American stages.
constexpr auto Stages = std::to_array<Stage>({
    {u"Cm", u"Tomm"}, {u"Cm", u"Atda"}, {u"Cm", u"Boto"}, {u"Cm", u"Toyo"}, {u"Cm", u"Amga"},
    {u"Cm", u"Maya"}, {u"Cm", u"Dres"}, {u"Cm", u"Fran"}, {u"O", u"Trem"},  {u"O", u"Aren"},
    {u"O", u"Llvi"},  {u"O", u"Llde"},  {u"O", u"Cara"},  {u"O", u"Ashg"},  {u"S", u"Llan"},
    {u"S", u"Wenl"},  {u"S", u"Ludl"},  {u"S", u"Prid"},  {u"D", u"Loch"},  {u"D", u"Prag"},
    {u"D", u"Emsi"},  {u"D", u"Eife"},  {u"D", u"Give"},  {u"D", u"Fras"},  {u"D", u"Fame"},
    {u"C", u"Tour"},  {u"C", u"Vise"},  {u"C", u"Serp"},  {u"C", u"Bash"},  {u"C", u"Mosc"},
    {u"C", u"Kasi"},  {u"C", u"Gzhe"},  {u"P", u"Asse"},  {u"P", u"Sakm"},  {u"P", u"Arti"},
    {u"P", u"Kung"},  {u"P", u"Ufim"},  {u"P", u"Kaza"},  {u"P", u"Tata"},  {u"T", u"Indu"},
    {u"T", u"Olen"},  {u"T", u"Anis"},  {u"T", u"Ladi"},  {u"T", u"Carn"},  {u"T", u"Nori"},
    {u"T", u"Rhae"},  {u"J", u"Hett"},  {u"J", u"Sine"},  {u"J", u"Plie"},  {u"J", u"Toar"},
    {u"J", u"Aale"},  {u"J", u"Bajo"},  {u"J", u"Bath"},  {u"J", u"Call"},  {u"J", u"Oxfo"},
    {u"J", u"Kimm"},  {u"J", u"Tith"},  {u"K", u"Berr"},  {u"K", u"Vala"},  {u"K", u"Haut"},
    {u"K", u"Barr"},  {u"K", u"Apti"},  {u"K", u"Albi"},  {u"K", u"Ceno"},  {u"K", u"Turo"},
    {u"K", u"Coni"},  {u"K", u"Sant"},  {u"K", u"Camp"},  {u"K", u"Maas"},  {u"Pg", u"Dani"},
    {u"Pg", u"Than"}, {u"Pg", u"Ypre"}, {u"Pg", u"Lute"}, {u"Pg", u"Bart"}, {u"Pg", u"Prib"},
    {u"Pg", u"Rupe"}, {u"Pg", u"Chat"}, {u"N", u"Aqui"},  {u"N", u"Burd"},  {u"N", u"Lang"},
    {u"N", u"Serr"},  {u"N", u"Tort"},  {u"N", u"Mess"},  {u"N", u"Zanc"},  {u"N", u"Piac"},
    {u"Q", u"Plei"},  {u"Q", u"Holo"},
});

} // namespace

int stageCount()
{
    return int(Stages.size());
}

Stage stage(int index)
{
    return Stages.at(std::size_t(index));
}

std::optional<int> indexOf(QStringView period, QStringView stageName)
{
    const auto it = std::find_if(Stages.begin(), Stages.end(), [&](const Stage &s) {
        return s.period == period && s.stage == stageName;
    });
    if (it == Stages.end())
        return std::nullopt;
    return int(it - Stages.begin());
}

StageRange periodSpan(QStringView firstPeriod, QStringView lastPeriod)
{
    const auto inFirst = [&](const Stage &s) { return s.period == firstPeriod; };
    const auto inLast = [&](const Stage &s) { return s.period == lastPeriod; };
    const auto first = std::find_if(Stages.begin(), Stages.end(), inFirst);
    const auto last = std::find_if(Stages.rbegin(), Stages.rend(), inLast);
    Q_ASSERT(first != Stages.end() && last != Stages.rend());
    return {int(first - Stages.begin()), int(Stages.rend() - last) - 1};
}

StageRange randomRange(Random &random, StageRange window)
{
    const int first = random.between(window.first, window.last);
    const int roll = random.below(100);
    int length = 0;
    if (roll >= 80)
        length = random.between(8, 30);
    else if (roll >= 55)
        length = random.between(3, 7);
    else if (roll >= 25)
        length = random.between(1, 2);
    return {first, std::min(first + length, window.last)};
}

QString format(StageRange range)
{
    const auto label = [](int index) {
        const Stage s = stage(index);
        return s.period.toString() + u" ("_s + s.stage.toString() + u')';
    };
    if (range.first == range.last)
        return label(range.first);
    return label(range.first) + u" - "_s + label(range.last);
}

} // namespace fosdat::sampledata::stratigraphy
