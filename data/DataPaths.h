#pragma once

#include <QString>
#include <QStringView>
#include <array>

// The data set's files, spelled as the data set spells them: relative to the
// current directory, backslash-separated, upper-case names. The catalogue
// files are named in the group table.
namespace fosdat::data
{

// The three reference lists, in the order of their link labels.
inline constexpr std::array<QStringView, 3> ReferenceListPaths{
    u"dat\\BD\\REFS1.txt", u"dat\\BD\\REFS2.txt", u"dat\\BD\\REFS3.txt"};
inline constexpr QStringView SoundPath = u"dat\\sound\\menu.wav";

// A data path with forward slashes, as spelled ("dat/BD/FORAM"): the path
// below the data set's folder that writes it.
inline QString slashPath(QStringView dataPath)
{
    QString path = dataPath.toString();
    path.replace(u'\\', u'/');
    return path;
}

} // namespace fosdat::data
