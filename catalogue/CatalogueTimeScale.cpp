#include "CatalogueTimeScale.h"

#include "UserTimeScale.h"

namespace fosdat::catalogue
{

TimeScaleChoice chooseTimeScale()
{
    TimeScaleChoice choice;
    const std::optional<data::UserTimeScale> user = data::readUserTimeScale();
    if (!user || !user->error.isEmpty()) {
        choice.scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        if (user)
            choice = {choice.scale, user->path, user->error, {}};
        return choice;
    }
    strata::ScaleReading reading =
        strata::readTimeScale(strata::shippedTimeScaleText(), user->text);
    return {std::make_shared<const strata::TimeScale>(std::move(reading.scale)),
            user->path,
            {},
            std::move(reading.errors)};
}

} // namespace fosdat::catalogue
