#include "FileIdentity.h"

#include <QList>
#include <cerrno>
#include <optional>
#include <sys/xattr.h>
#include <unistd.h>

namespace fosdat::data
{

namespace
{

// The bytes a size query followed by a read gives, tried again when the
// value grows in between; nullopt when the system refuses.
template <typename Read> std::optional<QByteArray> readSized(Read read)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray bytes(qsizetype(size), Qt::Uninitialized);
        const ssize_t got = read(bytes.data(), size_t(bytes.size()));
        if (got >= 0) {
            bytes.truncate(got);
            return bytes;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

void copyExtendedAttributes(int fd, const QByteArray &originalPath)
{
    const char *path = originalPath.constData();
    const std::optional<QByteArray> names =
        readSized([path](char *buffer, size_t size) { return ::listxattr(path, buffer, size); });
    if (!names)
        return;
    for (const QByteArray &name : names->split('\0')) {
        if (name.isEmpty())
            continue;
        const std::optional<QByteArray> value = readSized([path, &name](char *buffer, size_t size) {
            return ::getxattr(path, name.constData(), buffer, size);
        });
        // A name the user may not read or set (security.*, trusted.* for
        // anyone but root) is left out.
        if (value)
            ::fsetxattr(fd, name.constData(), value->constData(), size_t(value->size()), 0);
    }
}

} // namespace

void copyIdentity(int fd, const struct stat &original, const QByteArray &originalPath)
{
    // Owner and group first: a change of owner clears the set-ID bits that
    // the mode then puts back.
    const bool ownerKept = ::fchown(fd, original.st_uid, original.st_gid) == 0;
    if (!ownerKept && ::fchown(fd, uid_t(-1), original.st_gid) != 0) {
        // Not a group of the user's: the file keeps the one a new file gets.
    }
    ::fchmod(fd, original.st_mode & 07777);
    // Last, as an access ACL sets the group bits of the mode to its mask.
    copyExtendedAttributes(fd, originalPath);
}

} // namespace fosdat::data
