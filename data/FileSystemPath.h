#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace fosdat::data
{

// The bytes the file system spells `path` with. Qt decodes file names as
// UTF-8 and turns every byte that is not UTF-8 into U+FFFD, so a name from a
// Windows code page (a folder "БАЗА" copied from Windows media, a file
// "x\xFF.txt") comes out of a file dialog or QDir::currentPath() as text that
// no longer names it. Such a path is matched against the disk: the current
// directory's own bytes when the path lies below it, then, component by
// component, the one entry of the folder whose decoded name equals the
// component. A component that matches no entry is encoded as spelled (a new
// file). nullopt when one component matches several entries, which the text
// cannot tell apart.
std::optional<QByteArray> fileSystemPath(const QString &path);

} // namespace fosdat::data
