#include "SaveFile.h"

#include "FileDescriptor.h"
#include "FileIdentity.h"
#include "FileSystemPath.h"
#include "SystemReason.h"

#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace fosdat::data
{

namespace
{

using Error = int; // errno of the step that failed, 0 when it worked

bool isPermission(Error error)
{
    return error == EACCES || error == EPERM;
}

// Not an errno: the file opened for a write in place is not the one checked.
constexpr Error Replaced = -1;

QString reasonFor(Error error)
{
    return error == Replaced
               ? QStringLiteral("пока шло сохранение, на месте файла оказался другой файл")
               : systemReason(error);
}

// The file a save replaces or creates.
struct Target {
    QByteArray path;                 // the file's own name: no symbolic link at its end
    std::optional<struct stat> info; // nullopt: nothing there yet
};

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(qMax<qsizetype>(slash, 1));
}

// Whether the link at `path` may be followed: not one that another user left
// in a sticky folder that anyone may write to (unless the folder is theirs),
// where it could aim the save at any file of the user's. The system applies
// the same rule itself only where fs.protected_symlinks is set.
bool mayFollow(const QByteArray &path, const struct stat &link)
{
    struct stat folder {
    };
    if (::stat(folderOf(path).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// What the link at `path` names, as written in it; nullopt with errno set.
std::optional<QByteArray> linkText(const QByteArray &path, const struct stat &link)
{
    QByteArray text(qMax<qsizetype>(qsizetype(link.st_size), PATH_MAX) + 1, Qt::Uninitialized);
    const ssize_t size = ::readlink(path.constData(), text.data(), size_t(text.size()));
    if (size < 0)
        return std::nullopt;
    if (size == text.size()) { // grew since lstat()
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    text.truncate(size);
    return text;
}

// Finds the file a save to `path` writes, following symbolic links at the
// end of the path one by one (the folders before it are the system's to
// follow), so that a link to a file not there yet leads to where that file
// is created. Why it cannot be saved to, or nullopt when it can; fills `target`.
std::optional<QString> findFile(const QByteArray &path, Target &target)
{
    constexpr int MaxLinks = 40; // as many as the system follows in one path
    target.path = path;
    for (int links = 0;; ++links) {
        struct stat info {
        };
        if (::lstat(target.path.constData(), &info) != 0)
            return errno == ENOENT ? std::nullopt : std::optional(systemReason(errno));
        if (!S_ISLNK(info.st_mode)) {
            target.info = info;
            return std::nullopt;
        }
        if (links == MaxLinks)
            return systemReason(ELOOP);
        if (!mayFollow(target.path, info)) {
            return QStringLiteral("это символическая ссылка другого пользователя в общей папке, "
                                  "сохранять по ней небезопасно");
        }
        const std::optional<QByteArray> named = linkText(target.path, info);
        if (!named)
            return systemReason(errno);
        target.path = named->startsWith('/') ? *named : folderOf(target.path) + '/' + *named;
    }
}

// Why `path` cannot be saved to, or nullopt when it can; fills `target`.
std::optional<QString> findTarget(const QByteArray &path, Target &target)
{
    if (const std::optional<QString> refusal = findFile(path, target))
        return refusal;
    if (!target.info)
        return std::nullopt;
    // A new file renamed over a device, FIFO or socket would take its place
    // (and writing into a FIFO could block): only regular files are replaced.
    if (S_ISDIR(target.info->st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(target.info->st_mode))
        return QStringLiteral("это не обычный файл");
    // A file its owner made read-only stays as it is, though its folder
    // would let a new one take its place.
    if (::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0) {
        const Error error = errno;
        return isPermission(error)
                   ? QStringLiteral("файл защищён от записи: ") + systemReason(error)
                   : systemReason(error);
    }
    return std::nullopt;
}

// Writes all of `bytes` from the start of the file.
Error writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (written < 0 && errno != EINTR)
            return errno;
        done += qMax<ssize_t>(written, 0);
    }
    return 0;
}

struct NewFile {
    QByteArray path;
    int fd = -1;
    Error error = 0;
};

// A new file of an unused name in the folder of `target`.
NewFile createBeside(const QByteArray &target, mode_t mode)
{
    const QByteArray stem = folderOf(target) + "/.fosdat-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        NewFile file{stem + QByteArray::number(QRandomGenerator::global()->generate64(), 36)};
        file.fd =
            ::open(file.path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        file.error = file.fd < 0 ? errno : 0;
        if (file.error != EEXIST)
            return file;
    }
    return {{}, -1, EEXIST};
}

struct Outcome {
    Error error = 0;
    bool folderRefused = false; // the folder did not let a file be created or renamed
};

// Writes the new content beside the target and renames it over the target:
// the target then has the new content whole or keeps the old.
Outcome replaceBeside(const Target &target, const QByteArray &bytes)
{
    // A new file gets the mode every new file gets (umask, default ACL); a
    // replacement stays private until it has the old file's identity.
    const NewFile file = createBeside(target.path, target.info ? 0600 : 0666);
    if (file.fd < 0)
        return {file.error, isPermission(file.error)};
    FileDescriptor fd(file.fd);
    Error error = writeAll(fd.get(), bytes);
    if (!error && target.info)
        copyIdentity(fd.get(), *target.info, target.path);
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    if (const Error closed = fd.close(); !error)
        error = closed;
    bool folderRefused = false;
    if (!error && ::rename(file.path.constData(), target.path.constData()) != 0) {
        error = errno;
        folderRefused = isPermission(error); // a sticky folder and another user's file
    }
    if (error)
        ::unlink(file.path.constData());
    return {error, folderRefused};
}

// Makes sure that `size` bytes can be written into the open file before its
// first byte changes: the file size limit, then the space on the disk,
// reserved where the file system can, counted where it cannot.
Error reserveSpace(int fd, qint64 size, const struct stat &info)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        rlim_t(size) > limit.rlim_cur)
        return EFBIG;
    if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0)
        return 0;
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
        return errno;
    struct statvfs disk {
    };
    if (::fstatvfs(fd, &disk) != 0)
        return 0;
    const qint64 held = qint64(info.st_blocks) * 512;
    const qint64 free =
        qint64(::geteuid() == 0 ? disk.f_bfree : disk.f_bavail) * qint64(disk.f_frsize);
    return size - held > free ? ENOSPC : 0;
}

struct InPlaceOutcome {
    Error error = 0;
    bool started = false; // the file's content was being changed when it failed
};

// Writes the new content into the file itself: its every name, owner, group,
// mode and attribute stay. Starts only once the bytes are sure to fit.
InPlaceOutcome writeInPlace(const Target &target, const QByteArray &bytes,
                            const std::function<void()> &beforeOpen)
{
    if (beforeOpen)
        beforeOpen();
    // The name is opened again: what it names now must be the file checked,
    // not a link (O_NOFOLLOW) or another file that the owner of a shared
    // folder's file put in its place meanwhile. Without O_CREAT: the file is
    // there, and a sticky folder may refuse O_CREAT on another user's file.
    FileDescriptor fd(
        ::open(target.path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.isOpen())
        return {errno == ELOOP ? Replaced : errno, false};
    struct stat info {
    };
    if (::fstat(fd.get(), &info) != 0)
        return {errno, false};
    if (info.st_dev != target.info->st_dev || info.st_ino != target.info->st_ino)
        return {Replaced, false};
    if (const Error error = reserveSpace(fd.get(), bytes.size(), info))
        return {error, false};
    Error error = writeAll(fd.get(), bytes);
    if (!error && ::ftruncate(fd.get(), off_t(bytes.size())) != 0)
        error = errno;
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    if (const Error closed = fd.close(); !error)
        error = closed;
    return {error, true};
}

// The result of a write in place, `why` saying why the file was not replaced whole.
SaveResult inPlaceResult(const InPlaceOutcome &outcome, const QString &why)
{
    if (!outcome.error)
        return {true, {}};
    if (!outcome.started) {
        return {false, QStringLiteral("%1, а записать его на месте нельзя: %2. Файл не изменён.")
                           .arg(why, reasonFor(outcome.error))};
    }
    return {false, QStringLiteral("%1, поэтому он записывался на месте, и запись прервалась: %2. "
                                  "Файл мог остаться неполным.")
                       .arg(why, reasonFor(outcome.error))};
}

} // namespace

SaveResult saveFile(const QString &path, const QByteArray &bytes,
                    const std::function<void()> &beforeWriteInPlace)
{
    const std::optional<QByteArray> name = fileSystemPath(path);
    if (!name) {
        return {false, QStringLiteral("в папке несколько файлов, имена которых в другой кодировке "
                                      "выглядят так же")};
    }
    Target target;
    if (const std::optional<QString> refusal = findTarget(*name, target))
        return {false, *refusal};
    // A file with other hard links: only a write in place reaches every name.
    if (target.info && target.info->st_nlink > 1) {
        return inPlaceResult(writeInPlace(target, bytes, beforeWriteInPlace),
                             QStringLiteral("у файла есть другие имена (жёсткие ссылки)"));
    }
    const Outcome outcome = replaceBeside(target, bytes);
    if (!outcome.error)
        return {true, {}};
    if (!outcome.folderRefused)
        return {false, systemReason(outcome.error)};
    if (!target.info) {
        return {false, QStringLiteral("папка не позволяет создать в ней файл: ") +
                           systemReason(outcome.error)};
    }
    return inPlaceResult(writeInPlace(target, bytes, beforeWriteInPlace),
                         QStringLiteral("папка не позволяет заменить файл"));
}

} // namespace fosdat::data
