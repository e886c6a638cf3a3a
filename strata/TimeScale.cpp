#include "TimeScale.h"

#include "CharScan.h"

#include <QFile>
#include <algorithm>
#include <utility>

namespace fosdat::strata
{

void CodeIndex::clear()
{
    m_slots = QList<Slot>(16);
    m_count = 0;
    m_longest = 0;
}

quint32 CodeIndex::hash(QStringView code)
{
    return scan::hash(code);
}

void CodeIndex::insert(QStringView code, int value)
{
    const quint32 h = hash(code);
    const qsizetype mask = m_slots.size() - 1;
    for (qsizetype i = h & mask; !m_slots.isEmpty(); i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.value < 0)
            break;
        if (slot.hash == h && slot.code == code) {
            slot.value = value;
            return;
        }
    }
    add(code, h, value);
}

void CodeIndex::insertNew(QStringView code, int value)
{
    add(code, hash(code), value);
}

void CodeIndex::add(QStringView code, quint32 hash, int value)
{
    if (2 * (m_count + 1) > m_slots.size()) {
        const QList<Slot> old =
            std::exchange(m_slots, QList<Slot>(std::max<qsizetype>(16, 2 * m_slots.size())));
        for (const Slot &slot : old) {
            if (slot.value >= 0)
                place(slot);
        }
    }
    place({code, hash, value});
    ++m_count;
    m_longest = std::max(m_longest, code.size());
}

// Into the first free slot from its hash's, the code known to be new.
void CodeIndex::place(const Slot &slot)
{
    const qsizetype mask = m_slots.size() - 1;
    qsizetype i = slot.hash & mask;
    while (m_slots[i].value >= 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

int CodeIndex::find(QStringView code) const
{
    if (code.size() > m_longest || m_slots.isEmpty())
        return -1;
    const quint32 h = hash(code);
    const qsizetype mask = m_slots.size() - 1;
    for (qsizetype i = h & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.value < 0)
            return -1;
        if (slot.hash == h && slot.code.size() == code.size() &&
            std::equal(code.utf16(), code.utf16() + code.size(), slot.code.utf16()))
            return slot.value;
    }
}

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
