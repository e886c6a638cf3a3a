#include "RtfWriter.h"

#include <QSaveFile>

namespace rtf
{

QByteArray write(const QTextDocument &document)
{
    Q_UNUSED(document);
    return QByteArray("{\\rtf1\\ansi\\ansicpg1251\\deff0\n}");
}

SaveResult saveBytes(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace rtf
