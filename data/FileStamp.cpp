#include "FileStamp.h"

#include <QFile>
#include <sys/stat.h>

namespace fosdat::data
{

FileStamp FileStamp::of(const QString &path)
{
    struct stat status {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    const auto nanoseconds = [](const timespec &time) {
        return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    return {qint64(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
            quint64(status.st_ino), quint64(status.st_dev)};
}

} // namespace fosdat::data
