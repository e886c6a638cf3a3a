#pragma once

#include <QString>
#include <QStringView>

namespace fosdat::strata
{

class TimeScale;
struct Unit;

// The known code an unknown one most resembles by its spelling: letter case
// aside, at most one edit (a letter added, left out, replaced or two
// swapped) in every four letters of the longer code, and never more than
// two. Among codes as close, one that may be written under `period` (the
// period code the unknown one is written under; empty if none) comes first,
// then the one earlier in the table. Null when nothing is that close. Only a
// suggestion for the reader: the counts never apply it.
const Unit *suggestUnit(const TimeScale &scale, QStringView code, QStringView period = {});

// The period code an unknown code is written under in the text before it,
// "K" for "K (Xyzz" and "l-K (Xyzz": the letters before its parenthesis.
QStringView periodBefore(QStringView textBefore);

} // namespace fosdat::strata
