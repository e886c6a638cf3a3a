#pragma once

#include <QStringView>
#include <span>

namespace fosdat::sampledata
{

// What the sample catalogue of one animal group looks like: how many
// genera it lists, the endings its genus names take, the periods its
// genera lived in (in the time scale's period names: "V", "Cm", "Tr", "Q")
// and the class its heading names, in Latin and in Russian ("Морские
// лилии", often more than one word).
struct GroupProfile {
    int genera;
    std::span<const QStringView> endings;
    QStringView firstPeriod;
    QStringView lastPeriod;
    QStringView className;
    QStringView classRussian;
};

// The profile of the group in row `row` of the group table.
const GroupProfile &groupProfile(std::size_t row);

} // namespace fosdat::sampledata
