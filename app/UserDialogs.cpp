#include "UserDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace
{

// Icons and type names for the save dialog's list of files, from each file's
// name alone. Qt's own provider asks the MIME database, which reads the
// first bytes of a file whose name does not say enough, on the thread that
// shows the dialog: a file whose reading never ends (/proc/kmsg, a link to
// it, a file on a stalled mount) froze the dialog and the program with it.
class FileIconsByName final : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isRoot())
            return icon(Drive);
        if (info.isDir())
            return icon(Folder);
        if (!info.isFile()) // a device, FIFO or socket, or a link to none
            return icon(File);
        const QMimeType type = typeOf(info);
        return QIcon::fromTheme(type.iconName(),
                                QIcon::fromTheme(type.genericIconName(), icon(File)));
    }

    QString type(const QFileInfo &info) const override
    {
        if (!info.isFile()) // Qt names the rest without reading them
            return QFileIconProvider::type(info);
        const QMimeType type = typeOf(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    QMimeType typeOf(const QFileInfo &info) const
    {
        return m_types.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }

    QMimeDatabase m_types;
};

} // namespace

void QtUserDialogs::message(QWidget *parent, const QString &text, const QString &title,
                            QMessageBox::Icon icon)
{
    // The texts are plain, never markup.
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace
{

// A save dialog as QFileDialog::getSaveFileName() builds it, with the icons by
// name; `suffix`, when given, is added to a name typed without one.
std::optional<QString> askSaveName(QWidget *parent, const QString &title, const QString &proposed,
                                   const QString &filter, const QString &suffix = {})
{
    FileIconsByName icons;
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setIconProvider(&icons);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

// The dialog's own question before it names an existing file is kept: the
// save command itself asks nothing.
std::optional<QString> QtUserDialogs::saveFileName(QWidget *parent, const QString &title,
                                                   const QString &proposed, const QString &filter)
{
    return askSaveName(parent, title, proposed, filter);
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
    return askSaveName(parent, title, proposed, filter, suffix);
}

std::optional<QString> ExportFileChooser::choose(UserDialogs &dialogs, QWidget *parent,
                                                 const QString &name)
{
    const QString proposed = m_last.isEmpty() ? name : QFileInfo(m_last).dir().filePath(name);
    const std::optional<QString> path =
        dialogs.exportFileName(parent, m_title, proposed, m_filter, m_suffix);
    if (path)
        m_last = *path;
    return path;
}

bool QtUserDialogs::confirm(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
