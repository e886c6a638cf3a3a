#pragma once

#include "RangeReader.h"

#include <QList>
#include <QString>

namespace fosdat::strata
{

class TimeScale;

// One genus entry of a catalogue: where it stands, its parts as written and
// what its range means. The parts are views of the catalogue's text, which
// the entry shares.
class GenusEntry
{
public:
    int group = 0;     // the row of the catalogue's group
    int line = 0;      // 1-based, counting a line break within a paragraph as a line
    int paragraph = 0; // 0-based, and the genus name's offset in it:
    int offset = 0;    // where the catalogue view finds the entry
    QString family;    // from a heading above the entry, or its own "сем. X"
    QString order;
    QString className;
    Placement placement; // its spans lie in the catalogue's text

    QStringView text() const { return m_line.in(m_text); }   // the whole line
    QStringView genus() const { return m_genus.in(m_text); } // without "†" or "?"
    QStringView author() const { return m_author.in(m_text); }
    QStringView range() const { return m_range.in(m_text); }
    QStringView references() const { return m_references.in(m_text); } // "206, 553"
    QStringView view(TextSpan span) const { return span.in(m_text); }

private:
    friend class EntryReader;
    QString m_text;
    TextSpan m_line, m_genus, m_author, m_range, m_references;
};

// The genus entries of one catalogue's plain text (as the text-only reader
// gives it: paragraphs joined by '\n', line breaks within them as U+2028).
// Headings ("Класс X", "Отряд X", "Семейство X", "Family Xidae", a lone
// "Xidae"), legends, synonym lines ("= X") and other text are not entries;
// they only set the class, order and family of the entries below them.
QList<GenusEntry> readGenusEntries(int group, const QString &text, const TimeScale &scale);

} // namespace fosdat::strata
