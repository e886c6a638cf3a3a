#include "RangeForms.h"

#include "Random.h"
#include "Reason.h"
#include "TimeScale.h"

#include <array>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;
using strata::Reason;
using strata::Unit;

namespace
{

// Units a catalogue of the older style writes instead of the chart's stages.
constexpr auto RegionalUnits = std::to_array<QStringView>(
    {u"Nema", u"Tomm", u"Atda", u"Boto", u"Toyo", u"Amga", u"Maya", u"Dres",
     u"Fran", u"Trmp", u"Aren", u"Llvi", u"Llde", u"Cara", u"Ashg", u"Llan",
     u"Wenl", u"Ludl", u"Ufim", u"Kaza", u"Tata", u"Plei", u"Holo"});

// Written now and then by any catalogue: older units, epochs, spelling variants.
constexpr auto RareUnits = std::to_array<QStringView>(
    {u"Vend", u"Redk", u"Kotl", u"Rovn", u"Terr", u"Miao", u"Furo",  u"Ayus",   u"Saki",
     u"Aksa", u"Llvn", u"Crdc", u"Ashl", u"Gedi", u"Sieg", u"Coue",  u"Dina",   u"Namu",
     u"West", u"Step", u"Guad", u"Lopi", u"Kazn", u"Urzh", u"Seve",  u"Vyat",   u"Tatr",
     u"Dzhu", u"Dora", u"Scyt", u"Lias", u"Dogg", u"Malm", u"Volg",  u"Neoc",   u"Sene",
     u"Pale", u"Mont", u"Eoce", u"Olig", u"Mioc", u"Plio", u"Pleis", u"Pleist", u"Hol"});

// Period codes no catalogue uses, for entries a reader cannot place.
constexpr auto StrangePeriods = std::to_array<QStringView>({u"Z", u"X", u"Zn", u"Ks"});
constexpr auto ChartPeriods = std::to_array<QStringView>(
    {u"Cm", u"O", u"S", u"D", u"C", u"P", u"Tr", u"J", u"K", u"Pg", u"N", u"Q"});
constexpr QStringView Consonants = u"bcdfghjklmnpqrstvwxz";

QString status(Reason reason)
{
    return strata::reasonKey(reason);
}

class RangeWriter
{
public:
    RangeWriter(const RangeStyle &style, Random &random)
        : m_style(style), m_random(random), m_scale(stratigraphy::timeScale())
    {
    }

    WrittenRange write(StageRange life, bool mayLive);

private:
    const Unit &chartUnit(int stage) const { return *m_scale.unit(m_scale.stages()[stage].code); }
    const Unit &unitFor(int stage);
    QString periodCode(const Unit &unit) const;
    QString separator();
    QString bound(const QString &period, const QString &stages);
    WrittenRange placed(StageRange life, bool living);
    WrittenRange periodOnly(StageRange life);
    WrittenRange coarseEnd(StageRange life);
    std::optional<WrittenRange> unplaceable(int roll, StageRange life);
    WrittenRange reversed(StageRange life);
    WrittenRange notOneRange(int roll, StageRange life);

    const RangeStyle &m_style;
    Random &m_random;
    const strata::TimeScale &m_scale;
};

const Unit &RangeWriter::unitFor(int stage)
{
    const auto containing = [&](const auto &codes) {
        QList<const Unit *> found;
        for (QStringView code : codes) {
            const Unit *unit = m_scale.unit(code);
            if (unit && unit->first <= stage && stage <= unit->last)
                found.append(unit);
        }
        return found;
    };
    if (m_random.percent(3)) {
        if (const auto rare = containing(RareUnits); !rare.isEmpty())
            return *m_random.pick(rare);
    }
    if (m_style.regionalUnits != m_random.percent(10)) {
        if (const auto regional = containing(RegionalUnits); !regional.isEmpty())
            return *m_random.pick(regional);
    }
    return chartUnit(stage);
}

QString RangeWriter::periodCode(const Unit &unit) const
{
    const QString &period = m_scale.stages()[unit.first].period;
    if (period == u"Tr")
        return m_style.triassicAsT ? u"T"_s : period;
    if (period == u"Pg" || period == u"N")
        return m_style.tertiaryAsT ? u"T"_s : period;
    return period;
}

// Every dash and spacing catalogues put between the ends of a range.
QString RangeWriter::separator()
{
    const int roll = m_random.below(100);
    return roll < 70   ? u" - "_s
           : roll < 78 ? u"-"_s
           : roll < 85 ? u" \u2013 "_s
           : roll < 89 ? u"\u2013"_s
           : roll < 94 ? u" \u2014 "_s
           : roll < 97 ? u" \u2212 "_s
                       : u"  -  "_s;
}

QString RangeWriter::bound(const QString &period, const QString &stages)
{
    return period + (m_random.percent(4) ? u"("_s : u" ("_s) + stages + u')';
}

// A range a reader places at stage level, uncertain or qualified now and then.
WrittenRange RangeWriter::placed(StageRange life, bool living)
{
    const Unit *first = &unitFor(life.first);
    const Unit *last = living ? first : &unitFor(life.last);
    if (first->base < last->base || first->top < last->top) { // units that overlap
        first = &chartUnit(life.first);
        last = &chartUnit(life.last);
    }
    if (first->base == last->base && first->top == last->top) // "Holo" and "Hol"
        last = first;
    WrittenRange range;
    range.status = status(Reason::None);
    range.first = first->first;
    range.last = living ? int(m_scale.stages().size()) - 1 : last->last;
    range.extant = living;
    range.uncertain = m_random.percent(6);
    // Where the "?" goes: before the range, before its first stage, after its
    // last, after the closing bracket, or in a bracket of its own.
    const int mark = range.uncertain ? m_random.below(5) : -1;
    const int qualifier = m_random.percent(6) ? m_random.below(2) : -1;
    QString firstStage = first->code;
    if (qualifier == 0)
        firstStage.prepend(m_random.pick(std::to_array({u"l-"_s, u"u."_s, u"m "_s, u"l "_s})));
    if (mark == 1)
        firstStage.prepend(u'?');
    // What follows the last stage written: "Camp-u", "Serr?".
    QString after = qualifier == 1 ? m_random.pick(std::to_array({u"-u"_s, u" l"_s})) : QString();
    if (mark == 2)
        after += u'?';
    const QString prefix = mark == 0 ? u"?"_s : QString();
    const QString suffix = mark == 3 ? u"?"_s : mark == 4 ? u" (?)"_s : QString();
    range.firstWritten = first->code;
    range.lastWritten = living ? u"Rec"_s : last->code;
    const QString firstPeriod = periodCode(*first);
    if (living) {
        const QString present =
            m_random.pick(std::to_array({u"Rec"_s, u"Rec"_s, u"R"_s, u"Recent"_s}));
        range.text = prefix + bound(firstPeriod, firstStage + after) + separator() + present;
    } else if (first == last) {
        range.text = prefix + bound(firstPeriod, firstStage + after);
    } else if (periodCode(*last) == firstPeriod && m_random.percent(50)) {
        const QString inner = m_random.percent(80) ? u"-"_s : u"\u2013"_s;
        range.text = prefix + bound(firstPeriod, firstStage + inner + last->code + after);
    } else {
        range.text = prefix + bound(firstPeriod, firstStage) + separator() +
                     bound(periodCode(*last), last->code + after);
    }
    range.text += suffix;
    return range;
}

// "K", "l-K", "J - K": placed in the stages of the periods, or of their part.
WrittenRange RangeWriter::periodOnly(StageRange life)
{
    const strata::Stage &firstStage = m_scale.stages()[life.first];
    const strata::Stage &lastStage = m_scale.stages()[life.last];
    const strata::Period &first = *m_scale.period(firstStage.period);
    const strata::Period &last = *m_scale.period(lastStage.period);
    WrittenRange range;
    range.status = status(Reason::PeriodOnly);
    const int form = m_random.below(3);
    if (form == 1 && !firstStage.part.isNull()) {
        const QString part = firstStage.part;
        const strata::StageSpan stages = *m_scale.periodStages(first, firstStage.part);
        range.text =
            m_random.pick(std::to_array({part + u'-' + first.code, part + u'.' + first.code,
                                         part + u' ' + first.code, first.code + u'-' + part}));
        range.first = stages.first;
        range.last = stages.last;
        return range;
    }
    const bool two = form == 2 && &first != &last;
    range.text = two ? first.code + separator() + last.code : first.code;
    range.first = m_scale.periodStages(first)->first;
    range.last = m_scale.periodStages(two ? last : first)->last;
    return range;
}

// "K (Camp) - K": a stage, then its period as the end, which holds it.
WrittenRange RangeWriter::coarseEnd(StageRange life)
{
    const Unit &unit = chartUnit(life.first);
    const QString &period = m_scale.stages()[life.first].period;
    WrittenRange range;
    range.status = status(Reason::PeriodOnly);
    range.text = bound(period, unit.code) + separator() + period;
    range.first = unit.first;
    range.last = m_scale.periodStages(*m_scale.period(period))->last;
    range.firstWritten = unit.code;
    return range;
}

WrittenRange RangeWriter::reversed(StageRange life)
{
    const int stages = int(m_scale.stages().size());
    const int older = life.first < stages - 1 ? life.first : life.first - 1;
    const int younger = std::max(life.last, older + 1);
    const Unit &a = chartUnit(older);
    const Unit &b = chartUnit(younger);
    WrittenRange range;
    range.status = status(Reason::Reversed);
    if (periodCode(a) == periodCode(b) && m_random.percent(50))
        range.text = bound(periodCode(a), b.code + u'-' + a.code);
    else
        range.text = bound(periodCode(b), b.code) + separator() + bound(periodCode(a), a.code);
    range.firstWritten = b.code;
    range.lastWritten = a.code;
    range.code = range.text;
    return range;
}

// Some per thousand of the entries: a zone that is no one range, which a
// reader must not shorten to one: words before or after it, three parts, a
// start not known.
WrittenRange RangeWriter::notOneRange(int roll, StageRange life)
{
    const int stages = int(m_scale.stages().size());
    const int first = std::min(life.first, stages - 3);
    const int last = std::max(life.last, first + 2);
    const Unit &a = chartUnit(first);
    const Unit &b = chartUnit((first + last) / 2);
    const Unit &c = chartUnit(last);
    WrittenRange range;
    range.status = status(Reason::Unreadable);
    const QString one = bound(periodCode(a), a.code);
    if (roll < 3) {
        range.text =
            m_random.pick(std::to_array({u"cf. "_s, u"nom. dub. "_s, u"sensu lato "_s})) + one;
    } else if (roll < 6) {
        range.text = one + m_random.pick(std::to_array({u" pars"_s, u" in part"_s, u" etc"_s}));
    } else if (roll < 9) {
        range.text = one + separator() + bound(periodCode(b), b.code) + separator() +
                     (m_random.percent(50) ? bound(periodCode(c), c.code) : u"Rec"_s);
    } else {
        range.text = u"?"_s + separator() + one;
        range.uncertain = true;
        range.lastWritten = a.code;
    }
    range.code = range.text;
    return range;
}

// Some per thousand of the entries: what a reader must not place.
std::optional<WrittenRange> RangeWriter::unplaceable(int roll, StageRange life)
{
    const Unit &unit = chartUnit(life.first);
    const strata::Stage &stage = m_scale.stages()[life.first];
    WrittenRange range;
    if (roll < 6) {
        range.status = status(Reason::NoRange);
    } else if (roll < 10) {
        QString code(QChar(Consonants[m_random.below(int(Consonants.size()))]).toUpper());
        for (int i = 0; i < 3; ++i)
            code += Consonants[m_random.below(int(Consonants.size()))];
        range.status = status(Reason::UnknownStage);
        range.text = bound(periodCode(unit), code);
        range.firstWritten = range.lastWritten = range.code = code;
    } else if (roll < 12) {
        range.status = status(Reason::UnknownPeriod);
        range.code = m_random.pick(StrangePeriods).toString();
        range.text = bound(range.code, unit.code);
        range.firstWritten = range.lastWritten = unit.code;
    } else if (roll < 16) {
        QList<QStringView> wrong;
        for (QStringView code : ChartPeriods) {
            if (!m_scale.belongsTo(unit, *m_scale.period(code)))
                wrong.append(code);
        }
        range.status = status(Reason::StageOutsidePeriod);
        range.text = range.code = m_random.pick(wrong).toString() + u" ("_s + unit.code + u')';
        range.firstWritten = range.lastWritten = unit.code;
    } else if (roll < 20) {
        return reversed(life);
    } else if (roll < 22 && QStringList{u"Tr"_s, u"Pg"_s, u"N"_s}.contains(stage.period)) {
        range.status = status(Reason::AmbiguousPeriod);
        range.text = range.code = u"T"_s;
    } else if (roll < 23 && QStringList{u"S"_s, u"K"_s, u"N"_s}.contains(stage.period)) {
        range.status = status(Reason::UnknownPart);
        range.text = range.code = u"m-"_s + stage.period;
    } else if (roll >= 23) { // an age not known
        range.status = status(Reason::Unreadable);
        range.text = range.code = u"?"_s;
        range.uncertain = true;
    } else {
        return std::nullopt;
    }
    return range;
}

WrittenRange RangeWriter::write(StageRange life, bool mayLive)
{
    const int roll = m_random.below(1000);
    if (roll < 24) {
        if (auto odd = unplaceable(roll, life))
            return *odd;
    } else if (roll < 49) {
        return periodOnly(life);
    } else if (roll < 60) {
        return notOneRange(roll - 49, life);
    } else if (roll < 64) {
        return coarseEnd(life);
    }
    const int youngest = m_scale.stageIndex(u"Gela");
    return placed(life, mayLive && life.last >= youngest && m_random.percent(50));
}

} // namespace

RangeStyle RangeStyle::draw(Random &random)
{
    RangeStyle style;
    style.regionalUnits = random.percent(60);
    const int codes = random.below(10); // T for the Triassic, the Tertiary, or both
    style.triassicAsT = codes >= 4 && codes != 6 && codes != 7;
    style.tertiaryAsT = codes >= 6;
    return style;
}

WrittenRange writeRange(StageRange life, bool mayLive, const RangeStyle &style, Random &random)
{
    return RangeWriter(style, random).write(life, mayLive);
}

} // namespace fosdat::sampledata
