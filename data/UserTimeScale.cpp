#include "UserTimeScale.h"

#include "DataFiles.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace fosdat::data
{

using namespace Qt::StringLiterals;

QString userTimeScalePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/fosdat/timescale.csv"_s;
}

std::optional<UserTimeScale> readUserTimeScale()
{
    UserTimeScale file{userTimeScalePath(), {}, {}};
    const QFileInfo info(file.path);
    if (!info.exists())
        return std::nullopt;
    if (info.isFile() && info.size() > MaxUserTimeScaleBytes) {
        file.error =
            u"файл не прочитан: в нём %1 байт, а файл шкалы — не больше %2 МБ"_s.arg(info.size())
                .arg(MaxUserTimeScaleBytes / (1024 * 1024));
        return file;
    }
    const std::optional<QByteArray> bytes = readRegularFile(file.path, MaxUserTimeScaleBytes);
    if (!bytes) {
        file.error = u"файл не прочитан: это не обычный файл, он недоступен или больше %1 МБ"_s.arg(
            MaxUserTimeScaleBytes / (1024 * 1024));
        return file;
    }
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(*bytes);
    if (decode.hasError()) {
        file.error = u"файл не в кодировке UTF-8"_s;
        return file;
    }
    file.text = std::move(text);
    return file;
}

} // namespace fosdat::data
