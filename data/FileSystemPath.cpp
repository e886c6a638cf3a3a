#include "FileSystemPath.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fosdat::data
{

namespace
{

constexpr QChar Lost = QChar::ReplacementCharacter;

QByteArray currentDirectory()
{
    QByteArray buffer(4096, Qt::Uninitialized);
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE || buffer.size() > 1024 * 1024)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}

class Directory
{
public:
    explicit Directory(const QByteArray &path) : m_dir(::opendir(path.constData())) {}
    ~Directory()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    Directory(const Directory &) = delete;
    Directory &operator=(const Directory &) = delete;

    // The next entry's name; null at the end.
    const char *next() const
    {
        const dirent *entry = m_dir ? ::readdir(m_dir) : nullptr;
        return entry ? entry->d_name : nullptr;
    }

private:
    DIR *m_dir;
};

// The entry of `directory` (bytes, "" for the current one) that `component`
// names: as encoded when that exists, else the one entry that decodes to it.
std::optional<QByteArray> matchEntry(const QByteArray &directory, const QString &component)
{
    QByteArray encoded = QFile::encodeName(component);
    struct stat info {
    };
    if (!component.contains(Lost) || ::lstat((directory + encoded).constData(), &info) == 0)
        return encoded;
    std::optional<QByteArray> match;
    const Directory entries(directory.isEmpty() ? QByteArray(".") : directory);
    while (const char *name = entries.next()) {
        if (QFile::decodeName(name) != component)
            continue;
        if (match)
            return std::nullopt;
        match = QByteArray(name);
    }
    return match ? match : encoded;
}

} // namespace

std::optional<QByteArray> fileSystemPath(const QString &path)
{
    if (!path.contains(Lost))
        return QFile::encodeName(path);
    QByteArray resolved;
    QStringView rest = path;
    const QString current = QDir::currentPath();
    const QByteArray currentBytes = currentDirectory();
    if (path.startsWith(current + u'/') && !currentBytes.isEmpty()) {
        resolved = currentBytes + '/';
        rest = rest.mid(current.size() + 1);
    } else if (path.startsWith(u'/')) {
        resolved = "/";
        rest = rest.mid(1);
    }
    const QList<QStringView> components = rest.split(u'/');
    for (qsizetype i = 0; i < components.size(); ++i) {
        const std::optional<QByteArray> entry = matchEntry(resolved, components[i].toString());
        if (!entry)
            return std::nullopt;
        resolved += *entry;
        if (i + 1 < components.size())
            resolved += '/';
    }
    return resolved;
}

} // namespace fosdat::data
