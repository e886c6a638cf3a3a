#pragma once

#include "RangeReader.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace fosdat::strata
{

class TimeScale;

// A catalogue's text and the names its headings give, which its entries
// share.
struct CatalogueText {
    QString text;
    QStringList names; // of classes, orders and families, each once
};

// One genus entry of a catalogue: where it stands, its parts as written and
// what its range means. The parts are views of the catalogue's text.
class GenusEntry
{
public:
    int group = 0;       // the row of the catalogue's group
    int line = 0;        // 1-based, counting a line break within a paragraph as a line
    int paragraph = 0;   // 0-based, and the genus name's offset in it:
    int offset = 0;      // where the catalogue view finds the entry
    Placement placement; // its spans lie in the catalogue's text

    QStringView text() const { return view(m_line); }   // the whole line
    QStringView genus() const { return view(m_genus); } // without "†" or "?"
    QStringView author() const { return view(m_author); }
    QStringView range() const { return view(m_range); }
    QStringView references() const { return view(m_references); } // "206, 553"
    QStringView view(TextSpan span) const { return span.in(m_catalogue->text); }
    // From the headings above the entry; the family also from its own "сем. X".
    QStringView family() const { return name(m_family); }
    QStringView order() const { return name(m_order); }
    QStringView className() const { return name(m_class); }

private:
    friend class EntryReader;
    QStringView name(int index) const
    {
        return index < 0 ? QStringView() : QStringView(m_catalogue->names.at(index));
    }

    // A span in half a TextSpan's room: a catalogue's text is far shorter
    // than 2^31 characters, and a list of entries is written once.
    struct Span {
        qint32 start = 0;
        qint32 length = 0;

        Span() = default;
        Span(TextSpan span) : start(qint32(span.start)), length(qint32(span.length)) {}
        operator TextSpan() const { return {start, length}; }
    };

    std::shared_ptr<const CatalogueText> m_catalogue;
    Span m_line, m_genus, m_author, m_range, m_references;
    int m_family = -1; // in the catalogue's names
    int m_order = -1;
    int m_class = -1;
};

} // namespace fosdat::strata

// Its members move as bytes: a list of entries grows without copying them.
Q_DECLARE_TYPEINFO(fosdat::strata::GenusEntry, Q_RELOCATABLE_TYPE);

namespace fosdat::strata
{

// The genus entries of one catalogue's plain text (as the text-only reader
// gives it: paragraphs joined by '\n', line breaks within them as U+2028).
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
// as readGenusEntries() reads it. Neighbouring catalogues are read in runs of
// about equal text, one run a core (at most `MaxReadingThreads`), each on a
// thread of its own with a reader of its own; the runs' lists are joined in
// order, so the result is the same however many threads read it. A range
// written alike in several entries of a run is read once.
QList<GenusEntry> readGenusEntries(const QList<CatalogueInput> &catalogues, const TimeScale &scale);
inline constexpr int MaxReadingThreads = 4;

} // namespace fosdat::strata
