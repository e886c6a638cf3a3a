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

// The catalogue window on a data set (the directory holding dat/), filled,
// shown and active.
class ShownWindow
{
public:
    explicit ShownWindow(const QString &dataSetDir);

    Fosdat &window() { return m_window; }
    NoDialogs &dialogs() { return m_dialogs; }
    template <typename T> T *child(const QString &name) { return m_window.findChild<T *>(name); }

    // Chooses a group from the list, as the mouse would: the OK action runs.
    bool choose(const QString &caption);

    // A left click on `control` at `point` (its centre by default), as the mouse would give it.
    static void click(QWidget *control, std::optional<QPointF> point = std::nullopt);

private:
    SilentCue m_cue;
    NoDialogs m_dialogs;
    Fosdat m_window;
};

// Makes `target` a copy of the sample data set at `sampleDir` (its dat/BD and
// dat/sound) made of links, with `file` in place of the one named `replaced`.
bool makeDataSetWith(const QString &sampleDir, const QString &file, const QString &replaced,
                     const QString &target);

// The process's peak resident memory so far, in MB.
double peakMemoryMb();

} // namespace fosdat::bench
