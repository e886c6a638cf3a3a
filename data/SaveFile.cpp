#include "SaveFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace fosdat::data
{

SaveResult saveFile(const QString &path, const QByteArray &bytes)
{
    // A new file renamed over a device, FIFO or socket would take its place
    // (or, for a FIFO, the write could block): such targets are refused.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return {false, QCoreApplication::translate("fosdat", "Not a regular file")};
    QSaveFile file(path);
    // Unbuffered, so that a short write shows here and not only when commit()
    // flushes, which would go unnoticed and replace the old file with a
    // truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    // A write that stops short (a full disk, a file size limit) goes on with
    // the rest, which then fails with the reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        done += written;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace fosdat::data
