#pragma once

#include <QString>
#include <optional>

// Reads a reference list's file within a budget, for the reference panel
// and the look-up of references (ReferenceLookup.h).
namespace fosdat::data
{

// How much of a reference list the reference panel is given. The panel makes
// a paragraph of every line, about 1 to 2 µs each, and lays out a line whole
// when it comes into view, an unbroken word of n letters in a time growing
// with n² (10,000 letters: about 10 ms). The real lists have about 400 lines
// of at most 190 characters, 48 KB; the budget is ten to fifty times that and
// keeps a click on a list's link within about 20 ms and a few megabytes.
struct TextBudget {
    qsizetype lines = 0;
    qsizetype characters = 0;     // line breaks not counted
    qsizetype lineCharacters = 0; // of the longest line
};
inline constexpr TextBudget ReferenceListBudget{10'000, 500'000, 10'000};

// A reference list's text as far as it is shown.
struct ReferenceListText {
    QString text;
    bool cut = false; // only the start of the list, within the budget
};

// The reference list at `path` as the reference panel shows it: its
// Windows-1251 text, or, when the whole of it would pass `budget`, its whole
// lines within the budget (the start of its first line when even that one
// would pass it), marked as cut; of a longer file only the start is read.
// Nothing when the file cannot be read (readRegularFile()).
std::optional<ReferenceListText> readReferenceList(const QString &path,
                                                   const TextBudget &budget = ReferenceListBudget);

} // namespace fosdat::data
