#pragma once

#include "TimeScale.h"

#include <QList>
#include <QString>
#include <memory>

namespace fosdat::catalogue
{

// The time scale the entries' ranges are placed in: the shipped one, with the
// user's own file over it when there is one, and what of that file was not
// taken, for whoever tells the user.
struct TimeScaleChoice {
    std::shared_ptr<const strata::TimeScale> scale;
    QString path;                     // the user's file; empty when there is none
    QString fileError;                // why it was not read at all
    QList<strata::ScaleError> errors; // its lines left out
};

// Reads the user's file: a file access, so not on a window's thread.
TimeScaleChoice chooseTimeScale();

} // namespace fosdat::catalogue
