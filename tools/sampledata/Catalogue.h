#pragma once

#include "RangeForms.h"
#include "Stratigraphy.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <span>

namespace fosdat::sampledata
{

class GenusNames;
class Random;
struct GroupProfile;

// Reference numbers run from 1 to this over the three reference lists.
inline constexpr int ReferenceCount = 1200;

// How an entry of a catalogue in the shape of the real ones names its order
// and family, in a note before its range.
enum class TaxonNote : quint8 {
    OrderAndFamily, // "[отр. Xida, сем. Xidae]: "
    InParentheses,  // "(отр. Xida; сем. Xidae) "
    DoubtfulFamily, // "[отр. Xida, сем. ?Xidae]: "
    FamilyAlone,    // "[сем. Xidae]: "
    OrderAlone,     // "[отр. Xida]: "
};

struct GenusEntry {
    QString name;
    QString mark;   // "†" (extinct) or "?" (placed with doubt) before the name; mostly empty
    QString author; // "Walcott, 1912"; empty in some entries
    WrittenRange range;
    QList<int> references; // ascending, no repeats
    QString remark;        // a note in italics, mostly empty
    QStringList synonyms;  // "Name Author, year": each a line "= ..." below the entry
    TaxonNote note = TaxonNote::OrderAndFamily; // where the catalogue's shape has notes
    // A control character a word processor left between the author and the
    // range, which reads as a blank; 0 for none.
    char16_t control = 0;
};

struct FamilyEntry {
    QString name;
    QString order;
    QList<GenusEntry> genera; // in alphabetical order
    bool newPage = false;     // a page break before the family's heading
};

// One catalogue file: a heading, notes for the reader, the class, and the
// group's genera by order and family, each in alphabetical order. Families
// before `notesFrom` are written as the sample always was: under order and
// family headings, or each entry naming its family after its references
// ("annotated"). Those from `notesFrom` on are written in the shape of the
// real catalogues: under a class heading of the Russian and Latin names
// ("Класс Морские лилии (Crinoidea)"), without headings, each entry naming
// its order and family in a note before its range:
//   Aus Smith, 1900 [отр. Xida, сем. Xidae]: K (Camp) - Rec (12).
struct Catalogue {
    QString heading;
    QString className;      // in Latin
    QString classRussian;   // "Морские лилии"
    bool tabbed = false;    // tabs rather than blanks between name, range and references
    bool annotated = false; // each entry names its family ("сем. X") instead of headings
    RangeStyle style;
    QList<FamilyEntry> families; // by order, then by name
    qsizetype notesFrom = 0;

    bool hasNotes(qsizetype family) const { return family >= notesFrom; }
    // Whether the heading of a family places it with doubt ("Семейство
    // ?Xidae"): one family in nine, chosen by its name, of those written
    // under headings.
    bool doubtfulHeading(qsizetype family) const;
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
    FamilyEntry buildFamily(const GroupProfile &profile, const RangeStyle &style, int size,
                            Random &random);
    GenusEntry buildGenus(const GroupProfile &profile, const RangeStyle &style, StageRange span,
                          Random &random);
    QString nameFamily(const QList<GenusEntry> &genera, Random &random);

    GenusNames &m_names;
    QSet<QString> &m_familyNames;
};

} // namespace fosdat::sampledata
