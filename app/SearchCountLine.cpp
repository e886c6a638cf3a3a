#include "SearchCountLine.h"

#include <QLocale>

namespace
{

QString number(qsizetype value)
{
    return QLocale(QLocale::Russian).toString(value);
}

// "в 1 группе", "в 21 группе", but "в 11 группах".
QString groupsPhrase(int groups)
{
    const bool one = groups % 10 == 1 && groups % 100 != 11;
    return QStringLiteral("в %1 %2").arg(number(groups), one ? QStringLiteral("группе")
                                                             : QStringLiteral("группах"));
}

QString matchesPart(const fosdat::SearchCount &count)
{
    using Stage = fosdat::SearchCount::Stage;
    if (count.stage == Stage::Reading)
        return QStringLiteral("Каталог читается…");
    if (count.matches == 0)
        return count.stage == Stage::Finished ? QStringLiteral("Ничего не найдено")
                                              : QStringLiteral("Поиск…");
    QString line =
        QStringLiteral("Найдено: %1 %2").arg(number(count.matches), groupsPhrase(count.groups));
    if (count.listed < count.matches)
        line += QStringLiteral(", показаны первые ") + number(count.listed);
    if (count.stage != Stage::Finished)
        line += QStringLiteral("…");
    return line;
}

} // namespace

QString searchCountLine(const fosdat::SearchCount &count)
{
    if (count.stage == fosdat::SearchCount::Stage::Idle)
        return QString();
    QString line = matchesPart(count);
    const QString separator = QStringLiteral(", ");
    if (!count.unread.isEmpty()) {
        line += u'\n' + count.unread.join(separator) +
                (count.unread.size() == 1 ? QStringLiteral(": файл не прочитан")
                                          : QStringLiteral(": файлы не прочитаны"));
    }
    if (!count.partlyRead.isEmpty()) {
        line += u'\n' + count.partlyRead.join(separator) +
                (count.partlyRead.size() == 1
                     ? QStringLiteral(": файл слишком велик, поиск только в его начале")
                     : QStringLiteral(": файлы слишком велики, поиск только в их начале"));
    }
    return line;
}
