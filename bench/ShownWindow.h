#pragma once

#include "Fosdat.h"
#include "SoundCue.h"
#include "UserDialogs.h"

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

class NoDialogs final : public UserDialogs
{
public:
    void message(QWidget *, const QString &, const QString &, QMessageBox::Icon) override {}
    std::optional<QString> saveFileName(QWidget *, const QString &, const QString &,
                                        const QString &) override
    {
        return std::nullopt;
    }
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
