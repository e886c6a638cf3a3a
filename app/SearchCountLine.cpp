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

// "44 в 22 группах", or with a filter "3 в группе ГУБКИ (всего 44 в 22 группах)".
QString foundPart(const fosdat::SearchCount &count)
{
    const QString all = number(count.matches) + u' ' + groupsPhrase(count.groups);
    if (count.filter.isEmpty())
        return all;
    return QStringLiteral("%1 в группе %2 (всего %3)")
        .arg(number(count.filtered), count.filter, all);
}

QString matchesPart(const fosdat::SearchCount &count)
{
    using Stage = fosdat::SearchCount::Stage;
    if (count.stage == Stage::Reading)
        return QStringLiteral("Каталог читается…");
    const bool finished = count.stage == Stage::Finished;
    if (count.matches == 0)
        return finished ? QStringLiteral("Ничего не найдено") : QStringLiteral("Поиск…");
    QString line = (!count.filter.isEmpty() && count.filtered == 0 && finished
                        ? QStringLiteral("Ничего не найдено в группе %1 (всего %2 %3)")
                              .arg(count.filter, number(count.matches), groupsPhrase(count.groups))
                        : QStringLiteral("Найдено: ") + foundPart(count));
    const qsizetype listable = count.filter.isEmpty() ? count.matches : count.filtered;
    if (count.listed < listable)
        line += QStringLiteral(", показаны первые ") + number(count.listed);
    if (!finished)
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
    for (const fosdat::SearchCount::Cut &cut : count.cut) {
        line += u'\n' + cut.caption +
                QStringLiteral(": файл слишком велик, поиск только в его начале (не прочитано "
                               "знаков: %1)")
                    .arg(number(cut.leftOut));
    }
    return line;
}
