#include "Catalogue.h"

#include "GenusNames.h"
#include "GroupProfiles.h"
#include "Random.h"

#include <algorithm>
#include <array>

namespace fosdat::sampledata
{

namespace
{

constexpr auto Remarks = std::to_array<QStringView>({u"nom. dub.", u"nom. nov.", u"nom. transl."});

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

} // namespace

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
    catalogue.tabbed = random.percent(50);
    for (int left = profile.genera; left > 0;) {
        const int size = std::min(familySize(random), left);
        catalogue.families.append(buildFamily(profile, size, random));
        left -= size;
    }
    std::sort(catalogue.families.begin(), catalogue.families.end(),
              [](const FamilyEntry &a, const FamilyEntry &b) { return a.name < b.name; });
    return catalogue;
}

FamilyEntry CatalogueBuilder::buildFamily(const GroupProfile &profile, int size, Random &random)
{
    // The genera of a family lived within the family's own span of time.
    const StageRange group = stratigraphy::periodSpan(profile.firstPeriod, profile.lastPeriod);
    const int start = random.between(group.first, group.last);
    const StageRange span{start, std::min(start + random.between(6, 30), group.last)};
    FamilyEntry family;
    for (int i = 0; i < size; ++i)
        family.genera.append(buildGenus(profile.endings, span, random));
    std::sort(family.genera.begin(), family.genera.end(),
              [](const GenusEntry &a, const GenusEntry &b) { return a.name < b.name; });
    family.name = nameFamily(family.genera, random);
    family.newPage = random.percent(4);
    return family;
}

GenusEntry CatalogueBuilder::buildGenus(std::span<const QStringView> endings, StageRange span,
                                        Random &random)
{
    GenusEntry genus;
    genus.name = m_names.next(random, endings);
    genus.range = stratigraphy::randomRange(random, span);
    genus.references = referenceNumbers(random);
    if (random.percent(2))
        genus.remark = random.pick(Remarks).toString();
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
