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
    if (!QFileInfo(file.path).exists())
        return std::nullopt;
    const std::optional<QByteArray> bytes = readRegularFile(file.path, MaxUserTimeScaleBytes);
    if (!bytes) {
        file.error = u"файл не прочитан: это не обычный файл, он недоступен или больше 1 МБ"_s;
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
