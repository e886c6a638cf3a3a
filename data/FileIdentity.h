#pragma once

#include <QByteArray>
#include <sys/stat.h>

namespace fosdat::data
{

// Gives the new file open at `fd` the identity of the file it is to replace
// (`original`, as stat() saw it at `originalPath`): its owner where the user
// may give files away (root), its group where the user belongs to it, its
// mode, and its extended attributes (user.* and, where the user may, the
// others, ACLs included). What the system refuses is left as a new file
// would have it: the content is what matters, and the save goes on.
void copyIdentity(int fd, const struct stat &original, const QByteArray &originalPath);

} // namespace fosdat::data
