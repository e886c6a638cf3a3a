#pragma once

#include <QStringView>

// The data set's files, spelled as the data set spells them: relative to the
// current directory, backslash-separated, upper-case names.
namespace fosdat::data
{

inline constexpr QStringView Refs1Path = u"dat\\BD\\REFS1.txt";
inline constexpr QStringView Refs2Path = u"dat\\BD\\REFS2.txt";
inline constexpr QStringView Refs3Path = u"dat\\BD\\REFS3.txt";
inline constexpr QStringView SoundPath = u"dat\\sound\\menu.wav";

} // namespace fosdat::data
