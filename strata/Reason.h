#pragma once

#include <QString>
#include <QStringView>

namespace fosdat::strata
{

// Why a genus entry is not counted. The first group lies in the entry itself
// (its range cannot be placed in time); the last three follow from the
// counting options.
enum class Reason : quint8 {
    None,               // counted
    NoRange,            // the entry gives no range
    Unreadable,         // text where the range should be that is not one
    UnknownPeriod,      // "Z (Camp)"
    UnknownStage,       // "K (Xyzz)"
    StageOutsidePeriod, // "K (Trem)"
    AmbiguousPeriod,    // "T" alone: Triassic or Tertiary
    UnknownPart,        // "m-K": the Cretaceous has no middle part
    Reversed,           // "K (Maas) - K (Ceno)"
    PeriodOnly,         // "K", "l-K": placed to its period only
    Uncertain,          // "?K (Camp)", "T (Serr?)"
    Living,             // "... - Rec"
    NoFamily,           // counted by family, and the genus has none
    NoOrder,            // counted by order, and the genus has none
};

// For tables and programs: "unknown-stage".
QString reasonKey(Reason reason);

struct Unit;

// For people: "неизвестный ярус «Xyzz»", with the text the reason names, and
// for an unknown code the known one it most resembles, if any:
// "неизвестный ярус «Xyzz» — возможно, Maas (маастрихтский)".
QString describeReason(Reason reason, QStringView code, const Unit *suggestion = nullptr);

} // namespace fosdat::strata
