#pragma once

#include "RangeReader.h"

#include <QList>
#include <QString>
#include <memory>

namespace fosdat::strata
{

class TimeScale;

// One genus entry of a catalogue: where it stands, its parts as written and
// what its range means. Every part is a view of the catalogue's text, which
// the entries of a catalogue share; the names its headings give are views
// of their lines there, held once.
class GenusEntry
{
public:
    int group = 0;       // the row of the catalogue's group
    int line = 0;        // 1-based, counting a line break within a paragraph as a line
    int paragraph = 0;   // 0-based, and the genus name's offset in it:
    int offset = 0;      // where the catalogue view finds the entry
    Placement placement; // its spans lie in the catalogue's text

    QStringView text() const { return view(m_line); } // the whole line
    // "†", "?", "† ?": the marks before the name, mostly none.
    QStringView marks() const;
    QStringView genus() const { return view(m_genus); } // "Aus", "Aus (Bus)"
    QStringView subgenus() const;                       // "Bus"
    QStringView author() const { return view(m_author); }
    // The range as written, or what stands in its place where it cannot be
    // read: the text of the entry between its author (or notes) and its
    // references, without the punctuation around it.
    QStringView range() const { return view(m_range); }
    QStringView references() const { return view(m_references); } // "206, 553"
    // The entry's own order and family ("[отр. X, сем. Y]", "сем. ?Y"), else
    // those of the headings above it; the class from the headings:
    // «Морские лилии» of "Класс Морские лилии (Crinoidea)", whose Latin name
    // is classLatin().
    QStringView family() const { return view(m_family); }
    bool familyUncertain() const { return m_familyUncertain; } // "сем. ?Xidae"
    QStringView order() const { return view(m_order); }
    QStringView className() const { return view(m_class); }
    QStringView classLatin() const { return view(m_classLatin); }
    QStringView view(TextSpan span) const
    {
        return m_text && span.start >= 0 ? span.in(*m_text) : QStringView();
    }

private:
    friend class EntryReader;
    friend class ReadingJoiner;
    friend class TaxonJoiner;

    std::shared_ptr<const QString> m_text;
    TextSpan m_line, m_genus, m_author, m_range, m_references;
    TextSpan m_family, m_order, m_class, m_classLatin;
    bool m_familyUncertain = false;
};

} // namespace fosdat::strata

// Its members move as bytes: a list of entries grows without copying them.
Q_DECLARE_TYPEINFO(fosdat::strata::GenusEntry, Q_RELOCATABLE_TYPE);

namespace fosdat::strata
{

// The genus entries of one catalogue's plain text (as the text-only reader
// gives it: paragraphs joined by '\n', line breaks within them as U+2028;
// only these end a line, and other control characters count as blanks).
// Headings ("Класс X", "Отряд X", "Семейство X", "Family Xidae", a lone
// "Xidae"), legends, synonym lines ("= X") and other text are not entries;
// they only set the class, order and family of the entries below them.
QList<GenusEntry> readGenusEntries(int group, const QString &text, const TimeScale &scale);

// One catalogue's text and the row of its group.
struct CatalogueInput {
    int group = 0;
    QString text;
};

// The genus entries of every catalogue in `catalogues`, in their order, each
// as readGenusEntries() reads it. The texts are read in pieces of about
// equal size on the cores, a catalogue's headings carried from each piece to
// the next: the result is the same however the work falls to threads.
QList<GenusEntry> readGenusEntries(const QList<CatalogueInput> &catalogues, const TimeScale &scale);

} // namespace fosdat::strata
