#include "Program.h"

#include "Accessibility.h"
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "DiversityCommands.h"
#include "FindDialog.h"
#include "Fosdat.h"
#include "SearchCommands.h"
#include "SoundCue.h"
#include "UserDialogs.h"
#include "WindowFront.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

namespace
{

// The window while it is shown. A window closed with WA_DeleteOnClose
// lingers, hidden, until its deferred deletion; from the moment it is closed
// it counts as gone, so that opening it again makes a fresh one instead of
// showing the doomed one.
template <typename Window> Window *shownWindow(const QPointer<Window> &window)
{
    return window && window->isVisible() ? window.data() : nullptr;
}

} // namespace

Program::Program(std::unique_ptr<SoundCue> sound, std::unique_ptr<UserDialogs> dialogs)
    : m_sound(std::move(sound)), m_dialogs(std::move(dialogs)),
      m_searches(
          std::make_unique<SearchCommands>(*m_dialogs, [this] { return showCatalogueWindow(); })),
      m_diversity(std::make_unique<DiversityCommands>(*m_dialogs, m_searches->catalogueSearch(),
                                                      [this] { return showCatalogueWindow(); }))
{
    connect(m_searches.get(), &SearchCommands::findDialogWanted, this, &Program::openFindDialog);
    // The program ends when both of its windows are closed; the find dialog
    // is a tool window, which Qt would not count, so the rule is kept here.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

Program::~Program()
{
    delete m_find;
    delete m_catalogue;
}

Fosdat *Program::showCatalogueWindow()
{
    if (!shownWindow(m_catalogue)) {
        m_catalogue = new Fosdat(*m_sound, *m_dialogs);
        m_catalogue->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_catalogue, &Fosdat::findRequested, this, &Program::openFindDialog);
        connect(m_catalogue, &Fosdat::exitRequested, this, &Program::exit);
        connect(m_catalogue, &Fosdat::findAllRequested, m_searches.get(),
                &SearchCommands::openSearchWindow);
        connect(m_catalogue, &Fosdat::findNextRequested, m_searches.get(),
                &SearchCommands::findNext);
        connect(m_catalogue, &Fosdat::findPreviousRequested, m_searches.get(),
                &SearchCommands::findPrevious);
        connect(m_catalogue, &Fosdat::citingGeneraRequested, m_searches.get(),
                &SearchCommands::showCitingGenera);
        connect(m_catalogue, &Fosdat::diversityRequested, m_diversity.get(),
                &DiversityCommands::openWindow);
        m_searches->prepareAfterFirstPaint(*m_catalogue);
        connect(m_catalogue, &QObject::destroyed, this, &Program::windowGone, Qt::QueuedConnection);
        m_catalogue->loadStartupContent();
    }
    m_catalogue->show();
    return m_catalogue;
}

void Program::openFindDialog()
{
    if (!shownWindow(m_find)) {
        m_find = new FindDialog;
        listShownChildrenOnly(*m_find);
        connect(m_find, &FindDialog::findRequested, this, &Program::findInCatalogue);
        connect(m_find, &QObject::destroyed, this, &Program::windowGone, Qt::QueuedConnection);
        m_find->showAtCorner();
    } else if (m_find->isMinimized()) {
        m_find->showAtCorner();
    }
    m_find->show();
    bringWindowToFront(*m_find);
}

void Program::exit()
{
    m_searches->closeSearchWindow();
    m_diversity->closeWindow();
    // Both windows vanish at once, without their closing steps. They are
    // deleted later, as exit is asked for from inside the catalogue window's
    // own menu handling; what is still left goes with the Program.
    for (QWidget *window : {static_cast<QWidget *>(m_find), static_cast<QWidget *>(m_catalogue)}) {
        if (window) {
            window->hide();
            window->deleteLater();
        }
    }
    end();
}

Fosdat *Program::catalogueWindow() const
{
    return shownWindow(m_catalogue);
}

FindDialog *Program::findDialog() const
{
    return shownWindow(m_find);
}

// On the catalogue the window shows once the one it is reading, if any, is
// shown: a window made again reads its first group anew.
void Program::findInCatalogue(const QString &text, QTextDocument::FindFlags flags)
{
    Fosdat *window = showCatalogueWindow();
    CatalogueView *view = window->catalogueView();
    const auto notFound = [this, view, text, flags] {
        m_searches->searchedInView(*view, text, flags, false);
        // Owned by the find dialog, so that the box stays above that always-on-top window.
        m_searches->sayNotFound(shownWindow(m_find));
    };
    const auto find = [this, view, text, flags, notFound] {
        if (!view->selectFirstMatch(text, flags))
            return notFound();
        m_searches->searchedInView(*view, text, flags, true);
        view->bringToFront();
    };
    window->catalogueLoader().whenLoaded(view, find, notFound);
}

void Program::windowGone()
{
    if (!shownWindow(m_catalogue) && !shownWindow(m_find))
        end();
}

void Program::end()
{
    if (m_ended)
        return;
    m_ended = true;
    emit ended();
    // exit() rather than quit(): quit() may first send close events to
    // whatever windows are still there, and neither window has closing steps.
    // With no event loop running there is nothing to leave, and exit() would
    // only make the next loop return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}
