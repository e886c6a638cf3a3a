#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace fosdat::data
{

// The line that closes a text shown only in part because it was too large.
inline constexpr QStringView CutShortNotice = u"Файл слишком велик: показана его часть";

// How much of a reference list the reference panel is given. The panel holds
// every line as a paragraph (about 5 µs and 100 bytes each) and lays out a line
// whole when it comes into view (about 1.5 µs and 55 bytes a character, and
// an unbroken word of n letters in time growing with n²). The real lists have
// about 400 lines of at most 190 characters, 48 KB; the budget is some fifty
// times that, and keeps the panel within about 0.1 s and 60 MB.
struct TextBudget {
    qsizetype lines = 0;
    qsizetype characters = 0;     // line breaks not counted
    qsizetype lineCharacters = 0; // of the longest line
};
inline constexpr TextBudget ReferenceListBudget{20'000, 1'000'000, 10'000};

// The reference list at `path` as the reference panel shows it: its
// Windows-1251 text, or, when the whole of it would pass `budget`, its whole
// lines within the budget (the start of its first line when even that one
// would pass it) followed by a line with CutShortNotice. Nothing when the
// file cannot be read (readRegularFile()).
std::optional<QString> readReferenceList(const QString &path,
                                         const TextBudget &budget = ReferenceListBudget);

} // namespace fosdat::data
