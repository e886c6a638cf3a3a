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

bool QtUserDialogs::confirm(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
