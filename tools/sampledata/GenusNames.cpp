#include "GenusNames.h"

#include "Random.h"

#include <algorithm>
#include <array>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

constexpr auto Prefixes = std::to_array<QStringView>({
    u"acantho", u"acro",    u"actino", u"aglao",    u"allo",    u"amphi",   u"ancylo",  u"aniso",
    u"antho",   u"archaeo", u"aspido", u"astero",   u"aulaco",  u"bathy",   u"brachy",  u"callo",
    u"campylo", u"carino",  u"centro", u"chasmo",   u"chilo",   u"chondro", u"clado",   u"cleido",
    u"coelo",   u"crasso",  u"cteno",  u"cyclo",    u"cyrto",   u"dactylo", u"dasy",    u"dendro",
    u"desmo",   u"dicty",   u"diplo",  u"dolicho",  u"echino",  u"endo",    u"eu",      u"eury",
    u"glypto",  u"gnatho",  u"gonio",  u"gymno",    u"hadro",   u"helico",  u"hemi",    u"hetero",
    u"hexa",    u"holo",    u"homo",   u"hyalo",    u"iso",     u"lamello", u"lepido",  u"lepto",
    u"lino",    u"lopho",   u"lyro",   u"macro",    u"mega",    u"meso",    u"micro",   u"mono",
    u"myo",     u"nano",    u"nemato", u"neo",      u"noto",    u"octo",    u"oligo",   u"ortho",
    u"oxy",     u"pachy",   u"palaeo", u"para",     u"penta",   u"peri",    u"petalo",  u"phragmo",
    u"phyllo",  u"platy",   u"pleuro", u"plico",    u"poly",    u"prio",    u"proto",   u"pseudo",
    u"ptero",   u"ptycho",  u"pycno",  u"rhabdo",   u"rhipido", u"rhizo",   u"rhombo",  u"rhyncho",
    u"scapho",  u"schizo",  u"sclero", u"scolo",    u"sigmo",   u"sphaero", u"spheno",  u"spino",
    u"spiro",   u"stauro",  u"steno",  u"stephano", u"stereo",  u"strepto", u"stropho", u"stylo",
    u"tachy",   u"tele",    u"tetra",  u"thamno",   u"thysano", u"toxo",    u"trachy",  u"tri",
    u"trocho",  u"tylo",    u"xeno",   u"xipho",    u"zygo",
});

// Joined to what follows by "o".
constexpr auto Middles = std::to_array<QStringView>({
    u"card",  u"cephal", u"cerat", u"chil",  u"clad",   u"coel",   u"cosm",   u"crin",
    u"cycl",  u"cyst",   u"dact",  u"derm",  u"gaster", u"glyph",  u"gon",    u"gyr",
    u"lith",  u"loph",   u"morph", u"nem",   u"phor",   u"phyll",  u"phragm", u"pleur",
    u"por",   u"pyg",    u"rhabd", u"sarc",  u"sigm",   u"sphen",  u"spir",   u"stom",
    u"strom", u"stroph", u"styl",  u"tax",   u"thec",   u"thyr",   u"trem",   u"trop",
    u"tubul", u"zon",    u"cten",  u"odont", u"pter",   u"schist", u"lamp",   u"plac",
});

// Endings that change when the family name is formed, longest first; any
// other ending loses its last vowel or Latin case ending.
struct FamilyRule {
    QStringView genusEnding;
    QStringView familyEnding;
};
constexpr auto FamilyRules = std::to_array<FamilyRule>({
    {u"ceras", u"ceratidae"},
    {u"aspis", u"aspididae"},
    {u"lepis", u"lepididae"},
    {u"odus", u"odontidae"},
    {u"odon", u"odontidae"},
    {u"ornis", u"ornithidae"},
    {u"cypris", u"cyprididae"},
    {u"pecten", u"pectinidae"},
    {u"lichas", u"lichidae"},
    {u"ops", u"opidae"},
    {u"ex", u"ecidae"},
    {u"ys", u"yidae"},
    {u"er", u"eridae"},
    {u"us", u"idae"},
    {u"um", u"idae"},
    {u"is", u"idae"},
    {u"es", u"idae"},
    {u"on", u"idae"},
    {u"a", u"idae"},
    {u"e", u"idae"},
});

bool startsWithVowel(QStringView s)
{
    return QStringView(u"aeiouy").contains(s.front());
}

int middleCount(Random &random, int attempt)
{
    const int roll = random.below(100);
    const int base = roll < 45 ? 0 : roll < 95 ? 1 : 2;
    // Past the first tries the short forms are mostly taken; longer names
    // leave far more room.
    return std::min(base + attempt / 16, 4);
}

QString compose(Random &random, int middles, QStringView ending)
{
    QString name = random.pick(Prefixes).toString();
    // An ending that starts with a vowel may only follow an "o", which it
    // replaces; after any other vowel a middle stem goes between.
    if (middles == 0 && !name.endsWith(u'o') && startsWithVowel(ending))
        middles = 1;
    std::size_t previous = Middles.size();
    for (int i = 0; i < middles; ++i) {
        std::size_t middle = std::size_t(random.below(int(Middles.size())));
        if (middle == previous) // no stem twice in a row
            middle = (middle + 1) % Middles.size();
        name += Middles[middle];
        name += u'o';
        previous = middle;
    }
    if (startsWithVowel(ending))
        name.chop(1);
    name += ending;
    name[0] = name[0].toUpper();
    return name;
}

} // namespace

QString GenusNames::next(Random &random, std::span<const QStringView> endings)
{
    for (int attempt = 0;; ++attempt) {
        const QStringView ending = random.pick(endings);
        QString name = compose(random, middleCount(random, attempt), ending);
        if (!m_taken.contains(name)) {
            m_taken.insert(name);
            return name;
        }
    }
}

QString familyName(QStringView genus)
{
    for (const FamilyRule &rule : FamilyRules) {
        if (genus.endsWith(rule.genusEnding))
            return genus.chopped(rule.genusEnding.size()).toString().append(rule.familyEnding);
    }
    return genus.toString() + u"idae"_s;
}

} // namespace fosdat::sampledata
