#include "TimeScale.h"

#include <QFile>
#include <QHash>
#include <QVarLengthArray>
#include <algorithm>
#include <bit>
#include <utility>

namespace fosdat::strata
{

namespace
{

// The part of a period as an index into m_periodStages' entries, or -1.
int partIndex(QChar part)
{
    switch (part.unicode()) {
    case 0:
        return 0;
    case u'l':
        return 1;
    case u'm':
        return 2;
    case u'u':
        return 3;
    default:
        return -1;
    }
}

} // namespace

void TimeScale::index()
{
    const qsizetype codes = m_present.size() + m_units.size() + m_periods.size();
    m_codes.fill(CodeSlot{}, qsizetype(std::bit_ceil(quint64(2 * codes + 2))));
    for (const QString &code : std::as_const(m_present))
        addCode(code).present = true;
    for (qsizetype i = 0; i < m_units.size(); ++i)
        addCode(m_units[i].code).unit = int(i);
    for (qsizetype i = 0; i < m_periods.size(); ++i)
        addCode(m_periods[i].code).period = int(i);
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
    m_periodStages.clear();
    for (const Period &period : std::as_const(m_periods)) {
        m_periodStages.append({stagesOf(period, {}), stagesOf(period, u'l'), stagesOf(period, u'm'),
                               stagesOf(period, u'u')});
    }
}

bool TimeScale::standsFor(const Period &period, int stage) const
{
    const qsizetype at = &period - m_periods.constData();
    return at >= 0 && at < m_periodMembers.size() &&
           m_periodMembers[at].contains(m_stagePeriod[stage]);
}

TimeScale::CodeSlot &TimeScale::addCode(QStringView code)
{
    CodeSlot &slot = m_codes[slotOf(code)];
    slot.code = code;
    slot.used = true;
    return slot;
}

TimeScale::Meaning TimeScale::meaningWithoutSoftHyphens(QStringView code) const
{
    QVarLengthArray<QChar, 16> letters;
    for (const QChar c : code) {
        if (!tokens::isSoftHyphen(c))
            letters.append(c);
    }
    return letters.isEmpty() ? Meaning{} : meaning(QStringView(letters.data(), letters.size()));
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
    const qsizetype at = &period - m_periods.constData();
    const int index = partIndex(part);
    if (at >= 0 && at < m_periodStages.size() && index >= 0)
        return m_periodStages[at][index];
    return stagesOf(period, part);
}

std::optional<StageSpan> TimeScale::stagesOf(const Period &period, QChar part) const
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
