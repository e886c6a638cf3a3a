#pragma once

#include <QByteArray>
#include <QString>

namespace fosdat::data
{

struct SaveResult {
    bool ok = false;
    QString errorString; // why the save failed, for the user
};

// Writes `bytes` to `path` atomically: on failure an existing file at `path`
// is left exactly as it was. A device, FIFO or socket at `path` is refused.
SaveResult saveFile(const QString &path, const QByteArray &bytes);

} // namespace fosdat::data
