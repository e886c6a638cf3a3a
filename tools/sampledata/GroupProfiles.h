#pragma once

#include <QStringView>
#include <span>

namespace fosdat::sampledata
{

// What the sample catalogue of one animal group looks like: how many
// genera it lists, the endings its genus names take and the periods its
// genera lived in.
struct GroupProfile {
    int genera;
    std::span<const QStringView> endings;
    QStringView firstPeriod;
    QStringView lastPeriod;
};

// The profile of the group in row `row` of the group table.
const GroupProfile &groupProfile(std::size_t row);

} // namespace fosdat::sampledata
