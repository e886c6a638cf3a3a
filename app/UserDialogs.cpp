#include "UserDialogs.h"

#include <QFileDialog>

void QtUserDialogs::message(QWidget *parent, const QString &text, const QString &title,
                            QMessageBox::Icon icon)
{
    // The texts are plain, never markup.
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QString> QtUserDialogs::saveFileName(QWidget *parent, const QString &title,
                                                   const QString &proposed, const QString &filter)
{
    // The dialog's own question before it names an existing file is kept:
    // the save command itself asks nothing.
    const QString chosen = QFileDialog::getSaveFileName(parent, title, proposed, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> UserDialogs::exportFileName(QWidget *parent, const QString &title,
                                                   const QString &proposed, const QString &filter,
                                                   const QString &)
{
    return saveFileName(parent, title, proposed, filter);
}

std::optional<QString> QtUserDialogs::exportFileName(QWidget *parent, const QString &title,
                                                     const QString &proposed, const QString &filter,
                                                     const QString &suffix)
{
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
