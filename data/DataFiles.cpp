#include "DataFiles.h"

#include "FileDescriptor.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fosdat::data
{

namespace
{

QString matchComponent(const QString &dir, const QString &component)
{
    if (component == u"." || component == u".." || QFileInfo::exists(dir + u'/' + component))
        return component;
    QDir directory(dir);
    const QStringList entries = directory.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return component;
}

// Opens `path` for reading when it is a regular file of at most `maxBytes`;
// -1 otherwise. O_NONBLOCK so that opening a FIFO does not wait for a writer;
// the type is checked on the open descriptor, so nothing can swap the file in
// between.
int openRegularFile(const QString &path, qint64 maxBytes, qint64 *size)
{
    if (path.isEmpty())
        return -1;
    const QByteArray encoded = QFile::encodeName(path);
    FileDescriptor fd(::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {
    };
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > maxBytes)
        return -1;
    *size = info.st_size;
    return fd.release();
}

// Reads into `bytes` from `*filled` on until they are full or the file ends;
// false on a read error.
bool fill(int fd, QByteArray &bytes, qsizetype *filled)
{
    while (*filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + *filled, size_t(bytes.size() - *filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        *filled += got;
    }
    return true;
}

} // namespace

QString nativePath(QStringView dataPath, const QDir &base)
{
    if (dataPath.isEmpty())
        return {};
    QString path = base.path();
    for (QStringView part : dataPath.tokenize(u'\\', Qt::SkipEmptyParts))
        path += u'/' + matchComponent(path, part.toString());
    return QDir::cleanPath(path);
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    qint64 size = 0;
    FileDescriptor fd(openRegularFile(path, maxBytes, &size));
    if (fd.get() < 0)
        return std::nullopt;

    // One byte more than the limit allows: a file that grows past the limit
    // while it is read (or that, like a procfs file, reports no size) is
    // refused, not cut short.
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (!fill(fd.get(), bytes, &filled))
            return std::nullopt;
        if (filled < bytes.size()) // the file has ended
            break;
        if (bytes.size() > maxBytes)
            return std::nullopt;
        bytes.resize(qMin<qint64>(maxBytes + 1, bytes.size() + 64 * 1024));
    }
    bytes.truncate(filled);
    return bytes;
}

std::optional<QByteArray> readRegularFileStart(const QString &path, qsizetype count,
                                               qint64 maxBytes)
{
    qint64 size = 0;
    FileDescriptor fd(openRegularFile(path, maxBytes, &size));
    if (fd.get() < 0)
        return std::nullopt;
    QByteArray bytes(qMin<qint64>(count, size), Qt::Uninitialized);
    qsizetype filled = 0;
    if (!fill(fd.get(), bytes, &filled))
        return std::nullopt;
    bytes.truncate(filled);
    return bytes;
}

QString decodeAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

std::optional<QString> readAnsiTextFile(const QString &path)
{
    const std::optional<QByteArray> bytes = readRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return decodeAnsi(*bytes);
}

} // namespace fosdat::data
