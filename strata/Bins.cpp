#include "Bins.h"

#include "TimeScale.h"

#include <cmath>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

constexpr double TenMyr = 10;

// Whether a stage begins a new bin of this kind.
bool beginsBin(const TimeScale &scale, BinKind kind, int stage, double binBase)
{
    const QList<Stage> &stages = scale.stages();
    if (stage == 0)
        return true;
    const Stage &s = stages[stage];
    const Stage &before = stages[stage - 1];
    switch (kind) {
    case BinKind::Stages:
        return true;
    case BinKind::Epochs:
        return s.period != before.period || s.part != before.part;
    case BinKind::Periods:
        return s.period != before.period;
    case BinKind::TenMyr:
        // The boundary nearest to 10 Myr above the bin's base closes it.
        return binBase - s.base >= TenMyr ||
               std::abs(binBase - s.base - TenMyr) < std::abs(binBase - s.top - TenMyr);
    }
    return true;
}

QString binCode(const TimeScale &scale, BinKind kind, int first, int last)
{
    const Stage &s = scale.stages()[first];
    switch (kind) {
    case BinKind::Stages:
        return s.code;
    case BinKind::Epochs:
        return s.part.isNull() ? s.period : s.period + u' ' + s.part;
    case BinKind::Periods:
        return s.period;
    case BinKind::TenMyr:
        return first == last ? s.code : s.code + u'-' + scale.stages()[last].code;
    }
    return s.code;
}

} // namespace

std::optional<BinKind> binKindFromKey(QStringView key)
{
    if (key == u"stages")
        return BinKind::Stages;
    if (key == u"epochs")
        return BinKind::Epochs;
    if (key == u"periods")
        return BinKind::Periods;
    if (key == u"10myr")
        return BinKind::TenMyr;
    return std::nullopt;
}

Bins::Bins(const TimeScale &scale, BinKind kind)
{
    const QList<Stage> &stages = scale.stages();
    int first = 0;
    for (int s = 1; s <= int(stages.size()); ++s) {
        if (s == int(stages.size()) || beginsBin(scale, kind, s, stages[first].base)) {
            add(scale, first, s - 1, binCode(scale, kind, first, s - 1));
            first = s;
        }
    }
}

void Bins::add(const TimeScale &scale, int first, int last, const QString &code)
{
    const int index = int(m_bins.size());
    m_bins.append({code, first, last, scale.stages()[first].base, scale.stages()[last].top});
    for (int s = first; s <= last; ++s)
        m_binOfStage.append(index);
}

QString Bins::unitsIn(const TimeScale &scale, int bin) const
{
    const Bin &b = m_bins.at(bin);
    QStringList codes;
    for (const Unit &unit : scale.units()) {
        if (unit.first >= b.first && unit.last <= b.last && scale.stageIndex(unit.code) < 0)
            codes.append(unit.code);
    }
    return codes.join(u' ');
}

QString Bins::stagesIn(const TimeScale &scale, int bin) const
{
    const Bin &b = m_bins.at(bin);
    QStringList codes;
    for (int s = b.first; s <= b.last; ++s)
        codes.append(scale.stages()[s].code);
    return codes.join(u' ');
}

} // namespace fosdat::strata
