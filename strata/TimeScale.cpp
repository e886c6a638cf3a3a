#include "TimeScale.h"

#include <QFile>
#include <algorithm>
#include <utility>

namespace fosdat::strata
{

void TimeScale::index()
{
    m_unitByCode.clear();
    m_periodByCode.clear();
    m_presentCodes.clear();
    for (qsizetype i = 0; i < m_present.size(); ++i)
        m_presentCodes.insert(m_present[i], int(i));
    for (qsizetype i = 0; i < m_units.size(); ++i)
        m_unitByCode.insert(m_units[i].code, int(i));
    for (qsizetype i = 0; i < m_periods.size(); ++i)
        m_periodByCode.insert(m_periods[i].code, int(i));
    QHash<QStringView, int> names; // of the stages' periods, in order of first use
    m_stagePeriod.clear();
    for (const Stage &stage : m_stages) {
        const auto name = names.constFind(stage.period);
        m_stagePeriod.append(name != names.cend() ? *name : int(names.size()));
        if (name == names.cend())
            names.insert(stage.period, int(names.size()));
    }
    m_periodMembers.clear();
    for (const Period &period : m_periods) {
        QList<int> members;
        for (const QString &name : period.periods) {
            if (const auto found = names.constFind(name); found != names.cend())
                members.append(*found);
        }
        m_periodMembers.append(members);
    }
}

bool TimeScale::standsFor(const Period &period, int stage) const
{
    const qsizetype at = &period - m_periods.constData();
    return at >= 0 && at < m_periodMembers.size() &&
           m_periodMembers[at].contains(m_stagePeriod[stage]);
}

const Unit *TimeScale::unit(QStringView code) const
{
    const auto found = m_unitByCode.constFind(code);
    return found == m_unitByCode.cend() ? nullptr : &m_units[*found];
}

const Period *TimeScale::period(QStringView code) const
{
    const auto found = m_periodByCode.constFind(code);
    return found == m_periodByCode.cend() ? nullptr : &m_periods[*found];
}

bool TimeScale::isPresent(QStringView code) const
{
    return m_presentCodes.contains(code);
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
        if (!standsFor(period, i) || (!part.isNull() && stage.part != part))
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
        if (standsFor(period, i))
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
