#pragma once

#include "CatalogueTimeScale.h"
#include "DiversityWindow.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class Fosdat;
class UserDialogs;

namespace fosdat
{
class CatalogueSearch;
}

// The window "Разнообразие во времени" and what it needs from the rest of
// the program: the genus entries of the catalogue model, in the time scale
// with the user's own file over it (read in the model's worker, again only
// when a file has changed on disk), the search index's texts of the same
// catalogues for its text filter, a genus opened in the catalogue window as a
// search result is, and its exports written where the user says.
class DiversityCommands final : public QObject
{
    Q_OBJECT

public:
    // `catalogueWindow` gives the catalogue window, made again if it was closed.
    DiversityCommands(UserDialogs &dialogs, fosdat::CatalogueSearch &search,
                      std::function<Fosdat *()> catalogueWindow);
    ~DiversityCommands() override;

    // Creates the window on first use, shows and raises it, and reads the
    // entries again if a catalogue has changed.
    void openWindow();
    void closeWindow();

    fosdat::diversity::DiversityWindow *window() const { return m_window; }

signals:
    // The window has been given entries read anew.
    void entriesRead();

private:
    void readEntries();
    void takeScaleErrors(const fosdat::catalogue::TimeScaleChoice &choice);
    void openGenus(const fosdat::diversity::GenusPlace &place);
    void exportFile(fosdat::diversity::DiversityExport kind);
    void mapCodes(const QList<fosdat::diversity::CodeMapping> &mappings);
    void reportScaleErrors();

    UserDialogs &m_dialogs;
    fosdat::CatalogueSearch &m_search;
    std::function<Fosdat *()> m_catalogueWindow;
    QPointer<fosdat::diversity::DiversityWindow> m_window;
    QStringList m_scaleErrors;
    bool m_scaleRead = false; // and its errors reported
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_scaleChanged = false; // the window's entries are to be read anew
    QString m_exportFolder;      // of the last export
};
