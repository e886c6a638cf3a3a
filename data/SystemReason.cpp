#include "SystemReason.h"

#include <cerrno>
#include <cstring>

namespace fosdat::data
{

QString systemReason(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав доступа");
    case ENOSPC:
        return QStringLiteral("на диске нет места");
    case EDQUOT:
        return QStringLiteral("исчерпана дисковая квота");
    case EFBIG:
        return QStringLiteral("файл слишком большой");
    case EROFS:
        return QStringLiteral("файловая система доступна только для чтения");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("нет такой папки");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя");
    case ELOOP:
        return QStringLiteral("слишком много символических ссылок");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case ETXTBSY:
        return QStringLiteral("файл занят");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case ENOMEM:
        return QStringLiteral("не хватает памяти");
    default:
        return QStringLiteral("системная ошибка %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

} // namespace fosdat::data
