#include "Catalogue.h"

#include "Authors.h"
#include "GenusNames.h"
#include "GroupProfiles.h"
#include "Random.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

constexpr auto Remarks = std::to_array<QStringView>({u"nom. dub.", u"nom. nov.", u"nom. transl."});
// Remarks that name a near genus, with the signs a catalogue writes for it.
constexpr auto Likeness = std::to_array<QStringView>({u"\u2248 ", u"cf. \u00d7 "});

// Most families hold a handful of genera, a few some hundred.
int familySize(Random &random)
{
    const int roll = random.below(100);
    if (roll < 25)
        return random.between(1, 3);
    if (roll < 70)
        return random.between(4, 15);
    if (roll < 95)
        return random.between(16, 60);
    return random.between(61, 150);
}

QList<int> referenceNumbers(Random &random)
{
    const int roll = random.below(100);
    const int count = roll < 55 ? 1 : roll < 90 ? 2 : 3;
    QList<int> numbers;
    while (numbers.size() < count) {
        const int number = random.between(1, ReferenceCount);
        if (!numbers.contains(number))
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// Orders are named on one of their families ("Acanthoceratidae" gives
// "Acanthoceratida"), and each family goes to one of them.
void placeInOrders(QList<FamilyEntry> &families, Random &random)
{
    QStringList orders;
    const int count = std::max(1, int(families.size()) / 6);
    for (int i = 0; i < count; ++i) {
        const QString name = families[random.below(int(families.size()))].name.chopped(1);
        if (!orders.contains(name))
            orders.append(name);
    }
    for (FamilyEntry &family : families)
        family.order = random.pick(orders);
    std::sort(families.begin(), families.end(), [](const FamilyEntry &a, const FamilyEntry &b) {
        return std::tie(a.order, a.name) < std::tie(b.order, b.name);
    });
}

} // namespace

bool Catalogue::doubtfulHeading(qsizetype family) const
{
    return !hasNotes(family) && !annotated && families[family].name.size() % 9 == 0;
}

int Catalogue::genusCount() const
{
    int count = 0;
    for (const FamilyEntry &family : families)
        count += int(family.genera.size());
    return count;
}

Catalogue CatalogueBuilder::build(const GroupProfile &profile, const QString &heading,
                                  Random &random)
{
    Catalogue catalogue;
    catalogue.heading = heading;
    catalogue.className = profile.className.toString();
    catalogue.classRussian = profile.classRussian.toString();
    catalogue.tabbed = random.percent(50);
    catalogue.annotated = random.percent(25);
    catalogue.style = RangeStyle::draw(random);
    for (int left = profile.genera; left > 0;) {
        const int size = std::min(familySize(random), left);
        catalogue.families.append(buildFamily(profile, catalogue.style, size, random));
        left -= size;
    }
    placeInOrders(catalogue.families, random);
    // About a third of the catalogues in the real shape, the rest as before.
    catalogue.notesFrom = random.percent(35) ? 0 : catalogue.families.size();
    // A catalogue ends with a genus entry, as real ones do: its name is what
    // the search benchmarks look for.
    catalogue.families.back().genera.back().synonyms.clear();
    return catalogue;
}

FamilyEntry CatalogueBuilder::buildFamily(const GroupProfile &profile, const RangeStyle &style,
                                          int size, Random &random)
{
    // The genera of a family lived within the family's own span of time.
    const StageRange group = stratigraphy::periodSpan(profile.firstPeriod, profile.lastPeriod);
    const int start = random.between(group.first, group.last);
    const StageRange span{start, std::min(start + random.between(6, 30), group.last)};
    FamilyEntry family;
    for (int i = 0; i < size; ++i)
        family.genera.append(buildGenus(profile, style, span, random));
    std::sort(family.genera.begin(), family.genera.end(),
              [](const GenusEntry &a, const GenusEntry &b) { return a.name < b.name; });
    family.name = nameFamily(family.genera, random);
    family.newPage = random.percent(4);
    return family;
}

GenusEntry CatalogueBuilder::buildGenus(const GroupProfile &profile, const RangeStyle &style,
                                        StageRange span, Random &random)
{
    GenusEntry genus;
    genus.name = m_names.next(random, profile.endings);
    const int mark = random.below(100);
    genus.mark = mark < 10 ? u"\u2020"_s : mark < 12 ? u"?"_s : QString();
    if (random.percent(70))
        genus.author = authorAndYear(random);
    const bool mayLive = profile.lastPeriod == u"Q";
    genus.range = writeRange(stratigraphy::randomRange(random, span), mayLive, style, random);
    genus.references = referenceNumbers(random);
    const int remark = random.below(1000);
    if (remark < 20)
        genus.remark = random.pick(Remarks).toString();
    else if (remark < 35)
        genus.remark = random.pick(Likeness).toString() + m_names.next(random, profile.endings);
    if (random.percent(3))
        genus.synonyms.append(m_names.next(random, profile.endings) + u' ' + authorAndYear(random));
    const int note = random.below(100);
    genus.note = note < 70   ? TaxonNote::OrderAndFamily
                 : note < 80 ? TaxonNote::InParentheses
                 : note < 88 ? TaxonNote::DoubtfulFamily
                 : note < 94 ? TaxonNote::FamilyAlone
                             : TaxonNote::OrderAlone;
    // Control characters, which read as blanks; a carriage return among them
    // must not end the entry's line.
    if (!genus.author.isEmpty() && random.below(1000) < 15) {
        static constexpr char16_t Controls[] = {u'\r', u'\u0007', u'\u0001'};
        genus.control = Controls[random.below(3)];
    }
    return genus;
}

// The family is named on one of its genera, its type; should that name be
// taken already, the next genus serves.
QString CatalogueBuilder::nameFamily(const QList<GenusEntry> &genera, Random &random)
{
    const int start = random.below(int(genera.size()));
    QString name;
    for (int i = 0; i < genera.size(); ++i) {
        name = familyName(genera[(start + i) % genera.size()].name);
        if (!m_familyNames.contains(name))
            break;
    }
    m_familyNames.insert(name);
    return name;
}

} // namespace fosdat::sampledata
