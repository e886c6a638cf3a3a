#pragma once

#include <QString>
#include <optional>

namespace fosdat::data
{

// A time scale file of the user's own lists a few hundred codes, some tens of
// kilobytes; anything far larger is not one. Read whole into memory and
// parsed in linear time (a file of this size in some tens of milliseconds);
// a larger file is not read, and the message says so.
inline constexpr qint64 MaxUserTimeScaleBytes = 1024 * 1024;

// The user's time scale file, which extends or corrects the program's:
// timescale.csv in the folder fosdat of the user's data directory
// ($XDG_DATA_HOME/fosdat, by default ~/.local/share/fosdat).
QString userTimeScalePath();

struct UserTimeScale {
    QString path;
    QString text; // UTF-8 decoded; empty when `error` says why it was not read
    QString error;
};

// The user's time scale file: nullopt when there is none; its text, or why it
// could not be taken (larger than MaxUserTimeScaleBytes, unreadable or not a
// regular file, not UTF-8).
std::optional<UserTimeScale> readUserTimeScale();

} // namespace fosdat::data
