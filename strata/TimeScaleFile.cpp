// Reading a time scale file, and a user's file over the shipped one.
#include "TimeScale.h"

#include <QLocale>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

// Ages are given to a thousandth of a million years at most; boundaries that
// meet agree far closer than that.
constexpr double AgeTolerance = 1e-6;

enum class Origin { Shipped, User };

// One line of a file, split into trimmed fields; the first is its kind.
struct Record {
    Origin origin = Origin::Shipped;
    int line = 0;
    QStringList fields;

    const QString &code() const { return fields.at(1); }
};

// The records of one kind, each code once, found by code in constant time.
struct Records {
    QList<Record> list;
    QHash<QString, qsizetype> byCode;
};

QList<Record> splitRecords(QStringView text, Origin origin)
{
    QList<Record> records;
    int number = 0;
    for (QStringView line : text.tokenize(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u'#')
            continue;
        Record record{origin, number, {}};
        for (QStringView field : line.split(u','))
            record.fields.append(field.trimmed().toString());
        records.append(record);
    }
    return records;
}

std::optional<double> age(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

// Gathers the records of one or two files, merges them by code and builds the
// scale, noting every line it cannot take.
class TimeScaleBuilder
{
public:
    ScaleReading build(QStringView shipped, std::optional<QStringView> user);

private:
    void take(const QList<Record> &records);
    bool checkShape(const Record &record);
    void merge(Records &into, const Record &record);
    bool buildStages(const QList<Record> &records);
    void buildUnits();
    void buildPeriods();
    void buildPresent();
    bool claimCode(const Record &record);
    void error(const Record &record, const QString &message);

    ScaleReading m_reading;
    QStringList m_versions;
    Records m_periods, m_stages, m_aliases, m_present;
    QList<Record> m_shippedStages;            // to fall back on
    QHash<QString, const Record *> m_claimed; // unit and present codes in use
};

void TimeScaleBuilder::error(const Record &record, const QString &message)
{
    m_reading.errors.append({record.line, message});
}

bool TimeScaleBuilder::checkShape(const Record &record)
{
    static const QHash<QString, QList<int>> FieldCounts{{u"version"_s, {2}},
                                                        {u"period"_s, {4}},
                                                        {u"stage"_s, {7}},
                                                        {u"alias"_s, {5, 7}},
                                                        {u"present"_s, {2}}};
    const QString &kind = record.fields.front();
    const auto counts = FieldCounts.constFind(kind);
    if (counts == FieldCounts.cend()) {
        error(record, u"неизвестный вид записи «%1»"_s.arg(kind));
        return false;
    }
    const int fields = int(record.fields.size());
    if (!counts->contains(fields)) {
        error(record, u"в записи «%1» неверное число полей: %2"_s.arg(kind).arg(fields));
        return false;
    }
    if (kind != u"version" && (record.code().isEmpty() || record.code().contains(u' '))) {
        error(record, u"неверный код «%1»"_s.arg(record.code()));
        return false;
    }
    return true;
}

// A record with the code of an earlier one of its kind replaces it when it
// comes from the user's file; within one file a code is given once.
void TimeScaleBuilder::merge(Records &into, const Record &record)
{
    const auto found = into.byCode.constFind(record.code());
    if (found == into.byCode.cend()) {
        into.byCode.insert(record.code(), into.list.size());
        into.list.append(record);
        return;
    }
    Record &earlier = into.list[*found];
    if (earlier.origin == record.origin)
        error(record, u"код «%1» уже задан в строке %2"_s.arg(record.code()).arg(earlier.line));
    else
        earlier = record;
}

void TimeScaleBuilder::take(const QList<Record> &records)
{
    for (const Record &record : records) {
        if (!checkShape(record))
            continue;
        const QString &kind = record.fields.front();
        if (kind == u"version")
            m_versions.append(record.fields[1]);
        else if (kind == u"period")
            merge(m_periods, record);
        else if (kind == u"stage")
            merge(m_stages, record);
        else if (kind == u"alias")
            merge(m_aliases, record);
        else
            merge(m_present, record);
    }
}

// Stages oldest first by their base; each must begin where the one before it
// ends.
bool TimeScaleBuilder::buildStages(const QList<Record> &records)
{
    QList<Stage> stages;
    QList<const Record *> sources;
    bool sound = true;
    for (const Record &record : records) {
        const QStringList &f = record.fields;
        const auto base = age(f[5]);
        const auto top = age(f[6]);
        const bool partOk = f[4].isEmpty() || (f[4].size() == 1 && u"lmu"_s.contains(f[4]));
        if (!base || !top || *base <= *top || !partOk) {
            error(record, !partOk ? u"часть периода «%1»: ожидается l, m, u или пусто"_s.arg(f[4])
                                  : u"возрасты яруса «%1» неверны: %2, %3"_s.arg(f[1], f[5], f[6]));
            sound = false;
            continue;
        }
        stages.append({f[1], f[2], f[3], f[4].isEmpty() ? QChar() : f[4].front(), *base, *top});
        sources.append(&record);
    }
    if (!sound)
        return false;
    QList<int> order(stages.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return stages[a].base > stages[b].base; });
    for (qsizetype i = 1; i < order.size(); ++i) {
        const Stage &older = stages[order[i - 1]];
        const Stage &younger = stages[order[i]];
        if (std::abs(older.top - younger.base) > AgeTolerance) {
            const Record *source = sources[order[i]];
            if (source->origin == Origin::Shipped)
                source = sources[order[i - 1]];
            error(*source, u"ярусы «%1» и «%2» не смыкаются: %3 и %4 млн лет"_s.arg(
                               older.code, younger.code, QString::number(older.top),
                               QString::number(younger.base)));
            sound = false;
        }
    }
    m_reading.scale.m_stages.clear();
    for (int i : order)
        m_reading.scale.m_stages.append(stages[i]);
    return sound;
}

bool TimeScaleBuilder::claimCode(const Record &record)
{
    if (const Record *owner = m_claimed.value(record.code())) {
        error(record, u"код «%1» уже занят (%2)"_s.arg(
                          record.code(),
                          owner->fields.front() == u"stage" ? u"ярус"_s : owner->fields.front()));
        return false;
    }
    m_claimed.insert(record.code(), &record);
    return true;
}

void TimeScaleBuilder::buildUnits()
{
    TimeScale &scale = m_reading.scale;
    for (int i = 0; i < int(scale.m_stages.size()); ++i) {
        const Stage &stage = scale.m_stages[i];
        scale.m_units.append({stage.code, stage.name, i, i, stage.base, stage.top});
    }
    for (const Record &record : m_stages.list)
        m_claimed.insert(record.code(), &record);
    scale.index();
    for (const Record &record : m_aliases.list) {
        const QStringList &f = record.fields;
        const int first = scale.stageIndex(f[3]);
        const int last = scale.stageIndex(f[4]);
        if (first < 0 || last < 0) {
            error(record, u"неизвестный ярус «%1»"_s.arg(first < 0 ? f[3] : f[4]));
            continue;
        }
        if (first > last) {
            error(record, u"ярус «%1» моложе «%2»"_s.arg(f[3], f[4]));
            continue;
        }
        Unit unit{f[1], f[2], first, last, scale.m_stages[first].base, scale.m_stages[last].top};
        if (f.size() == 7) {
            const auto base = age(f[5]);
            const auto top = age(f[6]);
            if (!base || !top || *base <= *top || *base > unit.base + AgeTolerance ||
                *top < unit.top - AgeTolerance) {
                error(record, u"возрасты «%1» должны лежать в его ярусах"_s.arg(f[1]));
                continue;
            }
            unit.base = *base;
            unit.top = *top;
        }
        if (claimCode(record))
            scale.m_units.append(unit);
    }
    scale.index();
}

void TimeScaleBuilder::buildPeriods()
{
    TimeScale &scale = m_reading.scale;
    QSet<QString> known;
    for (const Stage &stage : scale.m_stages)
        known.insert(stage.period);
    for (const Record &record : m_periods.list) {
        const QStringList members = record.fields[3].split(u' ', Qt::SkipEmptyParts);
        const auto unknown = std::find_if(members.begin(), members.end(),
                                          [&](const QString &p) { return !known.contains(p); });
        if (members.isEmpty() || unknown != members.end()) {
            error(record, u"у кода периода «%1» нет ярусов «%2»"_s.arg(
                              record.code(), members.isEmpty() ? QString() : *unknown));
            continue;
        }
        scale.m_periods.append({record.code(), record.fields[2], members});
    }
}

void TimeScaleBuilder::buildPresent()
{
    for (const Record &record : m_present.list) {
        if (claimCode(record))
            m_reading.scale.m_present.append(record.code());
    }
}

ScaleReading TimeScaleBuilder::build(QStringView shipped, std::optional<QStringView> user)
{
    take(splitRecords(shipped, Origin::Shipped));
    m_shippedStages = m_stages.list;
    if (user)
        take(splitRecords(*user, Origin::User));
    if (!buildStages(m_stages.list)) {
        // Counts over a broken scale would be wrong everywhere: the shipped
        // stages stand, and without them (a broken file of its own) none.
        if (!user || !buildStages(m_shippedStages))
            m_reading.scale.m_stages.clear();
    }
    buildUnits();
    buildPeriods();
    buildPresent();
    m_reading.scale.m_version = m_versions.join(u" + "_s);
    m_reading.scale.index();
    return std::move(m_reading);
}

ScaleReading readTimeScale(QStringView text)
{
    return TimeScaleBuilder().build(text, std::nullopt);
}

ScaleReading readTimeScale(QStringView shipped, QStringView user)
{
    return TimeScaleBuilder().build(shipped, user);
}

QString aliasLine(const TimeScale &scale, const Unit &unit, QStringView code)
{
    const QLocale c = QLocale::c();
    return QStringList{u"alias"_s,
                       code.toString(),
                       unit.name,
                       scale.stages().at(unit.first).code,
                       scale.stages().at(unit.last).code,
                       c.toString(unit.base, 'g', QLocale::FloatingPointShortest),
                       c.toString(unit.top, 'g', QLocale::FloatingPointShortest)}
        .join(u',');
}

} // namespace fosdat::strata
