#include "TimeScale.h"

#include <QFile>

namespace fosdat::strata
{

void TimeScale::index()
{
    m_unitByCode.clear();
    m_periodByCode.clear();
    for (qsizetype i = 0; i < m_units.size(); ++i)
        m_unitByCode.insert(m_units[i].code, int(i));
    for (qsizetype i = 0; i < m_periods.size(); ++i)
        m_periodByCode.insert(m_periods[i].code, int(i));
}

const Unit *TimeScale::unit(QStringView code) const
{
    const auto it = m_unitByCode.constFind(code);
    return it == m_unitByCode.cend() ? nullptr : &m_units[*it];
}

const Period *TimeScale::period(QStringView code) const
{
    const auto it = m_periodByCode.constFind(code);
    return it == m_periodByCode.cend() ? nullptr : &m_periods[*it];
}

bool TimeScale::isPresent(QStringView code) const
{
    for (const QString &present : m_present) {
        if (present == code)
            return true;
    }
    return false;
}

int TimeScale::stageIndex(QStringView code) const
{
    const Unit *found = unit(code);
    if (!found || found->first != found->last || m_stages[found->first].code != code)
        return -1;
    return found->first;
}

std::optional<StageSpan> TimeScale::periodStages(const Period &period, QChar part) const
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < int(m_stages.size()); ++i) {
        const Stage &stage = m_stages[i];
        if (!period.periods.contains(stage.period) || (!part.isNull() && stage.part != part))
            continue;
        if (last >= 0 && last != i - 1)
            return std::nullopt; // not one run of stages
        if (first < 0)
            first = i;
        last = i;
    }
    if (first < 0)
        return std::nullopt;
    return StageSpan{first, last};
}

bool TimeScale::belongsTo(const Unit &unit, const Period &period) const
{
    for (int i = unit.first; i <= unit.last; ++i) {
        if (period.periods.contains(m_stages[i].period))
            return true;
    }
    return false;
}

QString shippedTimeScaleText()
{
    QFile file(QStringLiteral(":/fosdat/strata/timescale.csv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the time scale is missing from the program's resources");
    return QString::fromUtf8(file.readAll());
}

const TimeScale &shippedTimeScale()
{
    static const TimeScale scale = readTimeScale(shippedTimeScaleText()).scale;
    return scale;
}

} // namespace fosdat::strata
