#pragma once

#include <QByteArray>
#include <QString>
#include <QTextDocument>

namespace rtf
{

// Writes the whole document as RTF (Windows-1251 based). Same document, same bytes.
QByteArray write(const QTextDocument &document);

struct SaveResult {
    bool ok = false;
    QString errorString; // why the save failed, for the user
};

// Writes `bytes` to `path` atomically through QSaveFile: on failure an
// existing file at `path` is left exactly as it was.
SaveResult saveBytes(const QByteArray &bytes, const QString &path);

} // namespace rtf
