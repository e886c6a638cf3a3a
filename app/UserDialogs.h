#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>

// The title of the program's messages and questions.
inline const QString MessageTitle = QStringLiteral("база данных Тарвина");

// The modal questions and messages the program puts to the user, behind one
// interface so that tests can answer them without blocking.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // One message box with an OK button.
    virtual void message(QWidget *parent, const QString &text, const QString &title,
                         QMessageBox::Icon icon) = 0;

    // A save-file dialog; nullopt when the user cancels.
    virtual std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                                const QString &proposed, const QString &filter) = 0;

    // A save-file dialog for a file of one type, whose `suffix` a name typed
    // without one is given before the dialog asks about an existing file;
    // nullopt when the user cancels. By default, saveFileName().
    virtual std::optional<QString> exportFileName(QWidget *parent, const QString &title,
                                                  const QString &proposed, const QString &filter,
                                                  const QString &suffix);
    // A question answered Yes or No, No unless the user chooses otherwise;
    // true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text, const QString &title) = 0;
};

// Asks for the file an export of one kind writes: a save dialog that proposes
// a name in the folder of the last file chosen for that kind.
class ExportFileChooser
{
public:
    // What UserDialogs::exportFileName() takes.
    ExportFileChooser(const QString &title, const QString &filter, const QString &suffix)
        : m_title(title), m_filter(filter), m_suffix(suffix)
    {
    }
    // The path chosen for a file proposed as `name`; nullopt when the user cancels.
    std::optional<QString> choose(UserDialogs &dialogs, QWidget *parent, const QString &name);

private:
    QString m_title;
    QString m_filter;
    QString m_suffix;
    QString m_last; // the file last chosen
};

// The real thing: QMessageBox and QFileDialog.
class QtUserDialogs final : public UserDialogs
{
public:
    void message(QWidget *parent, const QString &text, const QString &title,
                 QMessageBox::Icon icon) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                        const QString &proposed, const QString &filter) override;
    std::optional<QString> exportFileName(QWidget *parent, const QString &title,
                                          const QString &proposed, const QString &filter,
                                          const QString &suffix) override;
    bool confirm(QWidget *parent, const QString &text, const QString &title) override;
};
