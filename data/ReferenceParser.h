#pragma once

#include <QList>
#include <QStringView>
#include <optional>

// Parses literature references as the data set writes them: the numbers a
// genus entry cites, and the numbered entries of the reference lists. Text
// in, positions out; no files (ReferenceListReader.h reads a list,
// ReferenceLookup.h looks a number up in the three).
namespace fosdat::data
{

// The reference lists number their entries from 1 to 1200 (REFS1 1-400,
// REFS2 401-800, REFS3 801-1200).
inline constexpr int MaxReferenceNumber = 1200;

// A reference number in a catalogue paragraph: where its digits stand in the
// paragraph's text, and its value.
struct ReferenceMention {
    qsizetype position = 0;
    qsizetype length = 0;
    int number = 0;

    friend bool operator==(const ReferenceMention &, const ReferenceMention &) = default;
};

// The reference numbers of one catalogue paragraph. A genus entry cites its
// references as a parenthesised list of numbers after its age:
// "Genus Author, 1975  K (Camp) (206, 553)". A number counts when it stands
// in parentheses that hold nothing but such numbers, separated by commas,
// semicolons or blanks, each 1 to MaxReferenceNumber without a leading zero.
// The stage "(Camp)", the author's "(Smith, 1975)" and a page range "(12-15)"
// hold other characters; a year is above MaxReferenceNumber, so "(1975)" is
// not a reference, and neither is any number of a group that holds one.
QList<ReferenceMention> findReferenceNumbers(QStringView paragraph);

// The reference number whose digits include the character at `index`.
std::optional<ReferenceMention> referenceNumberAt(QStringView paragraph, qsizetype index);

// One numbered entry of a reference list: its number, and where its text
// stands in the list, from the number's first digit to the end of its last
// line that is not blank, line ends excluded.
struct ReferenceEntry {
    int number = 0;
    qsizetype position = 0;
    qsizetype length = 0;

    friend bool operator==(const ReferenceEntry &, const ReferenceEntry &) = default;
};

// Splits a reference list into its entries by its own numbering: a line
// that starts, after blanks, with a number and a full stop ("953. Smith J.")
// opens an entry, which goes on to the line before the next one. The number
// must be 1 to MaxReferenceNumber and greater than the entry before it; a
// line such as "1975. Title" or "3. Aufl." that breaks an entry in two is part
// of that entry. Lines before the first entry belong to none. Lines end in
// LF or CR LF.
QList<ReferenceEntry> splitReferenceList(QStringView list);

} // namespace fosdat::data
