#pragma once

#include "FindHost.h"

#include <QObject>
#include <QPointer>
#include <memory>

class Fosdat;
class frnFind;
class SoundCue;
class UserDialogs;

// Owns the program's two windows: the catalogue window and the one shared
// find dialog. Creates each when it is needed and ends the program when
// neither is left open.
class Program final : public QObject, public FindHost
{
    Q_OBJECT

public:
    Program(std::unique_ptr<SoundCue> sound, std::unique_ptr<UserDialogs> dialogs);
    ~Program() override;

    // Creates the catalogue window, fills it and shows it.
    Fosdat *showCatalogueWindow();
    // Creates the find dialog if it is not open, then shows and raises it.
    void openFindDialog();
    // Closes both windows at once and ends the program.
    void exit();

    // The window while it is open; null once it has been closed.
    Fosdat *catalogueWindow() const;
    frnFind *findDialog() const;

    RichTextBox *catalogueView() override;
    void showMessage(const QString &text, const QString &title, QMessageBox::Icon icon) override;

signals:
    // The program has decided to end and asked the event loop to return; once only.
    void ended();

private:
    void windowGone();
    void end();

    std::unique_ptr<SoundCue> m_sound;
    std::unique_ptr<UserDialogs> m_dialogs;
    QPointer<Fosdat> m_catalogue;
    QPointer<frnFind> m_find;
    bool m_ended = false;
};
