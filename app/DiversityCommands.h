#pragma once

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
namespace strata
{
class TimeScale;
}
} // namespace fosdat

// The window "Разнообразие во времени" and what it needs from the rest of
// the program: the genus entries read from the texts the search index holds
// (in a worker, again only when a text has changed), the time scale with the
// user's own file over it, a genus opened in the catalogue window as a
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
    void openGenus(const fosdat::diversity::GenusPlace &place);
    void exportFile(fosdat::diversity::DiversityExport kind);
    void reportScaleErrors();

    UserDialogs &m_dialogs;
    fosdat::CatalogueSearch &m_search;
    std::function<Fosdat *()> m_catalogueWindow;
    QPointer<fosdat::diversity::DiversityWindow> m_window;
    std::shared_ptr<const fosdat::strata::TimeScale> m_scale;
    QStringList m_scaleErrors;
    // The texts the window's entries were read from, which a reading compares.
    std::shared_ptr<const QStringList> m_texts;
    bool m_reading = false;
    bool m_readAgain = false;
    QString m_exportFolder; // of the last export
};
