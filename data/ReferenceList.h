#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace fosdat::data
{

// The line that closes a text shown only in part because it was too large.
inline constexpr QStringView CutShortNotice = u"Файл слишком велик: показана его часть";

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

// The reference list at `path` as the reference panel shows it: its
// Windows-1251 text, or, when the whole of it would pass `budget`, its whole
// lines within the budget (the start of its first line when even that one
// would pass it) followed by a line with CutShortNotice; of a longer file
// only the start is read. Nothing when the file cannot be read
// (readRegularFile()).
std::optional<QString> readReferenceList(const QString &path,
                                         const TextBudget &budget = ReferenceListBudget);

} // namespace fosdat::data
