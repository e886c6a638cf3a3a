#pragma once

#include "Fosdat.h"
#include "NoDialogs.h"
#include "SoundCue.h"

#include <QPointF>
#include <QString>
#include <optional>

namespace fosdat::bench
{

class SilentCue final : public SoundCue
{
public:
    void play() override {}
};

// The catalogue window on the sample data set, filled and shown.
class ShownWindow
{
public:
    explicit ShownWindow(const QString &sampleDir);

    Fosdat &window() { return m_window; }
    template <typename T> T *child(const QString &name) { return m_window.findChild<T *>(name); }

    // A left click on `control` at `point` (its centre by default), as the mouse would give it.
    static void click(QWidget *control, std::optional<QPointF> point = std::nullopt);

private:
    SilentCue m_cue;
    NoDialogs m_dialogs;
    Fosdat m_window;
};

} // namespace fosdat::bench
