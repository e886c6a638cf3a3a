#pragma once

#include "UserDialogs.h"

namespace fosdat::bench
{

// Shows no message box and answers every save dialog with a cancel.
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

} // namespace fosdat::bench
