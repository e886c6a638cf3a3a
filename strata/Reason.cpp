#include "Reason.h"

#include "TimeScale.h"

#include <array>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

struct ReasonText {
    QStringView key;
    QStringView text; // %1: the text the reason names
};

constexpr std::array<ReasonText, 14> Texts{{
    {u"counted", u"учтён"},
    {u"no-range", u"нет диапазона"},
    {u"unreadable", u"диапазон не прочитан «%1»"},
    {u"unknown-period", u"неизвестный период «%1»"},
    {u"unknown-stage", u"неизвестный ярус «%1»"},
    {u"stage-outside-period", u"ярус не из этого периода «%1»"},
    {u"ambiguous-period", u"период неоднозначен «%1»"},
    {u"unknown-part", u"у периода нет такой части «%1»"},
    {u"reversed", u"начало моложе конца «%1»"},
    {u"period-only", u"указан только период «%1»"},
    {u"uncertain", u"возраст под вопросом «%1»"},
    {u"living", u"живущий род «%1»"},
    {u"no-family", u"семейство не указано"},
    {u"no-order", u"отряд не указан"},
}};

const ReasonText &textOf(Reason reason)
{
    return Texts.at(std::size_t(reason));
}

} // namespace

QString reasonKey(Reason reason)
{
    return textOf(reason).key.toString();
}

QString describeReason(Reason reason, QStringView code, const Unit *suggestion)
{
    const QString text = textOf(reason).text.toString();
    QString described = text.contains(u"%1") ? text.arg(code) : text;
    if (suggestion)
        described += u" — возможно, %1 (%2)"_s.arg(suggestion->code, suggestion->name);
    return described;
}

} // namespace fosdat::strata
