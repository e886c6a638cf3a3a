#pragma once

#include <QLoggingCategory>
#include <exception>

Q_DECLARE_LOGGING_CATEGORY(lcSteps)

// Runs each step in turn; a step that throws is abandoned whole and the next
// one runs. Handlers whose steps are independent (a missing reference list
// must not keep the catalogue from loading) are written as such a sequence.
// A step signals failure by throwing, e.g. through std::optional::value().
template <typename... Steps> void resumeNext(Steps &&...steps)
{
    const auto run = [](auto &&step) {
        try {
            step();
        } catch (const std::exception &e) {
            qCDebug(lcSteps) << "step skipped:" << e.what();
        } catch (...) {
            qCDebug(lcSteps) << "step skipped";
        }
    };
    (run(steps), ...);
}
