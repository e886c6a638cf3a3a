#pragma once

#include "Stratigraphy.h"

#include <QList>
#include <QSet>
#include <QString>
#include <span>

namespace fosdat::sampledata
{

class GenusNames;
class Random;
struct GroupProfile;

// Reference numbers run from 1 to this over the three reference lists.
inline constexpr int ReferenceCount = 1200;

struct GenusEntry {
    QString name;
    StageRange range;
    QList<int> references; // ascending, no repeats
    QString remark;        // a nomenclatural note in italics, mostly empty
};

struct FamilyEntry {
    QString name;
    QList<GenusEntry> genera; // in alphabetical order
    bool newPage = false;     // a page break before the family's heading
};

// One catalogue file: a heading, a short note for the reader, and the
// group's genera by family, families in alphabetical order.
struct Catalogue {
    QString heading;
    bool tabbed = false; // tabs rather than blanks between name, range and references
    QList<FamilyEntry> families;

    int genusCount() const;
};

// Draws the families and genera of a catalogue. Genus names come from
// `names`, so they are unique over every catalogue built with it; family
// names are kept unique over `familyNames`.
class CatalogueBuilder
{
public:
    CatalogueBuilder(GenusNames &names, QSet<QString> &familyNames)
        : m_names(names), m_familyNames(familyNames)
    {
    }

    Catalogue build(const GroupProfile &profile, const QString &heading, Random &random);

private:
    FamilyEntry buildFamily(const GroupProfile &profile, int size, Random &random);
    GenusEntry buildGenus(std::span<const QStringView> endings, StageRange span, Random &random);
    QString nameFamily(const QList<GenusEntry> &genera, Random &random);

    GenusNames &m_names;
    QSet<QString> &m_familyNames;
};

} // namespace fosdat::sampledata
