#include "SearchCommands.h"

#include "CatalogueView.h"
#include "Fosdat.h"
#include "SearchCountLine.h"
#include "SearchWindow.h"
#include "UserDialogs.h"
#include "ViewMatches.h"

#include <QEvent>
#include <QTimer>

using fosdat::CatalogueSearch;
using fosdat::TextMatcher;

SearchCommands::SearchCommands(UserDialogs &dialogs, std::function<Fosdat *()> catalogueWindow)
    : m_dialogs(dialogs), m_catalogueWindow(std::move(catalogueWindow))
{
}

SearchCommands::~SearchCommands()
{
    delete m_window;
}

void SearchCommands::prepareAfterFirstPaint(Fosdat &window)
{
    window.installEventFilter(this);
}

bool SearchCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        // After the frame being painted has been shown.
        QTimer::singleShot(0, &m_search, &CatalogueSearch::prepare);
    }
    return QObject::eventFilter(watched, event);
}

void SearchCommands::openSearchWindow()
{
    if (!m_window) {
        m_window = new SearchWindow;
        connect(m_window, &SearchWindow::searchRequested, this, &SearchCommands::searchAll);
        connect(m_window, &SearchWindow::resultOpened, this, &SearchCommands::openResult);
        connect(&m_search, &CatalogueSearch::resultsReset, m_window, [this] {
            m_listed = m_pending;
            m_window->clearResults();
        });
        connect(&m_search, &CatalogueSearch::resultsFound, m_window, &SearchWindow::addResults);
        connect(&m_search, &CatalogueSearch::countChanged, m_window,
                [this](const fosdat::SearchCount &count) {
                    m_window->showCountLine(searchCountLine(count));
                });
        m_search.prepare();
    }
    m_window->showAndFocus();
}

void SearchCommands::closeSearchWindow()
{
    if (m_window)
        m_window->hide();
}

void SearchCommands::searchedInView(CatalogueView &view, const QString &text,
                                    QTextDocument::FindFlags flags, bool found)
{
    m_last = TextMatcher(text, flags);
    if (found)
        ViewMatches::of(view).highlight(m_last);
}

void SearchCommands::searchAll(const QString &text, QTextDocument::FindFlags flags)
{
    m_pending = TextMatcher(text, flags);
    if (!text.isEmpty())
        m_last = m_pending;
    m_search.search(text, flags);
}

// The group is chosen as in the group list, so the window shows what that
// shows; the match is selected once that group's catalogue is shown. A file
// that could not be read leaves the catalogue shown before.
void SearchCommands::openResult(const fosdat::SearchResultPlace &place)
{
    if (place.group < 0)
        return;
    Fosdat *window = m_catalogueWindow();
    CatalogueView *view = window->catalogueView();
    const CatalogueLoader::Ticket load = window->chooseGroup(place.group);
    m_last = m_listed;
    const auto select = [view, place, matcher = m_listed] {
        ViewMatches &matches = ViewMatches::of(*view);
        if (matches.selectInParagraph(matcher, place.paragraph, place.offset))
            matches.highlight(matcher);
        view->bringToFront();
    };
    window->catalogueLoader().whenShown(load, view, select, [view] { view->bringToFront(); });
}

// In the catalogue the window shows once the one it is reading, if any, is shown.
void SearchCommands::findAgain(bool backward)
{
    if (m_last.matchesNothing()) {
        emit findDialogWanted();
        return;
    }
    Fosdat *window = m_catalogueWindow();
    CatalogueView *view = window->catalogueView();
    const auto notFound = [this, window] { sayNotFound(window); };
    const auto find = [view, matcher = m_last, backward, notFound] {
        ViewMatches &matches = ViewMatches::of(*view);
        if (!matches.selectNext(matcher, backward))
            return notFound();
        matches.highlight(matcher);
        view->bringToFront();
    };
    window->catalogueLoader().whenLoaded(view, find, notFound);
}

void SearchCommands::sayNotFound(QWidget *owner)
{
    m_dialogs.message(owner, QStringLiteral("Строка не найдена!"),
                      QStringLiteral("База данных Тарвина"), QMessageBox::Critical);
}
