#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringView>
#include <optional>

namespace fosdat::data
{

// Reference lists and catalogues are a few megabytes. A file many times
// larger is not one of the data set: reading and laying it out would freeze
// the window for seconds and take gigabytes, so it is refused like a
// missing file.
inline constexpr qint64 MaxDataFileBytes = 64 * 1024 * 1024;

// Maps a backslash-separated data path onto a path below `base`. Each
// component is taken as spelled when it exists; otherwise the first entry of
// that directory whose name equals it ignoring letter case is used, since data
// sets copied from Windows often change case. Components that match nothing
// are kept as spelled, so the result then names a missing file. An empty
// data path gives an empty result.
//
// By default the result is relative to the current directory ("dat/BD/FORAM"):
// the folder the data set was copied into may have a name that is not UTF-8
// (a Windows code page), which no QString can spell, while a relative path
// reaches it whatever its name.
QString nativePath(QStringView dataPath, const QDir &base = QDir());

// Reads a regular file whole. A missing file, a directory, a FIFO, a device,
// an unreadable file or one larger than `maxBytes` gives nullopt; the call
// never blocks on a special file.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes = MaxDataFileBytes);

// The first `count` bytes of what readRegularFile() would read, or all of
// them when there are fewer; nullopt where readRegularFile() gives nullopt.
std::optional<QByteArray> readRegularFileStart(const QString &path, qsizetype count,
                                               qint64 maxBytes = MaxDataFileBytes);

// Single-byte text in the data set's code page (Windows-1251), one character
// per byte, nothing converted or trimmed.
QString decodeAnsi(QByteArrayView bytes);

// readRegularFile() then decodeAnsi().
std::optional<QString> readAnsiTextFile(const QString &path);

} // namespace fosdat::data
