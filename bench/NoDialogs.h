#pragma once

#include "UserDialogs.h"

#include <functional>

namespace fosdat::bench
{

// Shows no message box and answers every save dialog and question with a cancel;
// `onMessage`, when set, hears of every message.
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
    bool confirm(QWidget *, const QString &, const QString &) override { return false; }

    std::function<void()> onMessage;
};

} // namespace fosdat::bench
