#pragma once

#include <QString>
#include <QtGlobal>

namespace fosdat::data
{

// What a file's status says of its contents, so that a reader can tell that
// the file it read has changed: a file written again, even to the same size
// within the same second, or another file put in its place has another stamp.
struct FileStamp {
    qint64 size = -1;    // -1: no such file
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;  // status change, nanoseconds
    quint64 inode = 0;
    quint64 device = 0;

    // The stamp of the file at `path`, or of no file when there is none.
    static FileStamp of(const QString &path);
    bool exists() const { return size >= 0; }
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace fosdat::data
