#pragma once

#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <memory>

class DiversityCommands;
class Fosdat;
class FindDialog;
class SearchCommands;
class SoundCue;
class UserDialogs;

// Owns the program's two windows: the catalogue window and the one shared
// find dialog. Creates each when it is needed, runs the find dialog's
// searches in the catalogue window, and ends the program when neither window
// is left open.
class Program final : public QObject
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
    FindDialog *findDialog() const;
    // The search window, find next and previous.
    SearchCommands &searchCommands() const { return *m_searches; }
    // The window of diversity through time.
    DiversityCommands &diversityCommands() const { return *m_diversity; }

signals:
    // The program has decided to end and asked the event loop to return; once only.
    void ended();

private:
    // Selects the first match in the catalogue window, created again if it
    // was closed, and gives it the focus; or says that there is none. A
    // catalogue still being read is searched once it is shown.
    void findInCatalogue(const QString &text, QTextDocument::FindFlags flags);
    void windowGone();
    void end();

    std::unique_ptr<SoundCue> m_sound;
    std::unique_ptr<UserDialogs> m_dialogs;
    QPointer<Fosdat> m_catalogue;
    QPointer<FindDialog> m_find;
    std::unique_ptr<SearchCommands> m_searches;
    std::unique_ptr<DiversityCommands> m_diversity; // reads the texts m_searches holds
    bool m_ended = false;
};
