#pragma once

#include "Fosdat.h"
#include "SoundCue.h"
#include "UserDialogs.h"

#include <QWidget>
#include <functional>

namespace fosdat::bench
{

class SilentCue final : public SoundCue
{
public:
    void play() override {}
};

// Shows no box; `onMessage`, when set, hears of every message the window gives.
class NoDialogs final : public UserDialogs
{
public:
    void message(QWidget *, const QString &, const QString &, QMessageBox::Icon) override
    {
        if (onMessage)
            onMessage();
    }
    std::optional<QString> saveFileName(QWidget *, const QString &, const QString &,
                                        const QString &) override
    {
        return std::nullopt;
    }

    std::function<void()> onMessage;
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

    // A left click on `control`, as the mouse would give it.
    static void click(QWidget *control);

private:
    SilentCue m_cue;
    NoDialogs m_dialogs;
    Fosdat m_window;
};

} // namespace fosdat::bench
