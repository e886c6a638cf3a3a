#include "SearchCommands.h"

#include "CatalogueNavigator.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "ResultsCsv.h"
#include "SaveFile.h"
#include "SearchCountLine.h"
#include "SearchWindow.h"
#include "UserDialogs.h"
#include "ViewMatches.h"

#include <QDir>
#include <QEvent>
#include <QRegularExpression>
#include <QTimer>

using fosdat::CatalogueSearch;
using fosdat::TextMatcher;

namespace
{

// The file an export proposes: named by what was searched, without the
// characters a file name cannot hold.
QString exportName(QString searched)
{
    searched.replace(QRegularExpression(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])")),
                     QStringLiteral("_"));
    searched = searched.simplified().left(60);
    return (searched.isEmpty() ? QStringLiteral("результаты поиска") : searched) +
           QStringLiteral(".csv");
}

} // namespace

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

SearchWindow &SearchCommands::searchWindowMade()
{
    if (m_window)
        return *m_window;
    m_window = new SearchWindow;
    QStringList captions;
    for (const fosdat::data::Group &group : fosdat::data::GroupTable)
        captions << group.caption.toString();
    m_window->setGroupCaptions(captions);
    connect(m_window, &SearchWindow::searchRequested, this, &SearchCommands::searchAll);
    connect(m_window, &SearchWindow::resultOpened, this, &SearchCommands::openResult);
    connect(m_window, &SearchWindow::exportRequested, this, &SearchCommands::exportResults);
    connect(&m_search, &CatalogueSearch::resultsReset, m_window, [this] {
        m_listed = m_search.matcher(); // the search whose results come now
        m_window->clearResults();
    });
    connect(&m_search, &CatalogueSearch::resultsFound, m_window, &SearchWindow::addResults);
    connect(&m_search, &CatalogueSearch::countChanged, m_window,
            [this](const fosdat::SearchCount &count) {
                m_window->showCountLine(searchCountLine(count));
            });
    connect(&m_search, &CatalogueSearch::searchFinished, m_window, &SearchWindow::finishSearch);
    m_search.prepare();
    return *m_window;
}

void SearchCommands::openSearchWindow()
{
    searchWindowMade().showAndFocus();
}

void SearchCommands::showCitingGenera(int number)
{
    SearchWindow &window = searchWindowMade();
    window.showCitingSearch(number);
    window.showAndFocus();
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

void SearchCommands::searchAll(const fosdat::SearchQuery &query)
{
    m_search.search(query);
    if (!m_search.matcher().matchesNothing()) // as built for the search, not again
        m_last = m_search.matcher();
}

void SearchCommands::openResult(const fosdat::SearchResultPlace &place)
{
    if (place.group < 0)
        return;
    m_last = m_listed;
    openInCatalogue(*m_catalogueWindow(), place, m_listed);
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

void SearchCommands::exportResults()
{
    const QList<fosdat::ResultLine> lines = m_window->exportedLines();
    if (lines.isEmpty())
        return;
    const std::optional<QString> path =
        m_exportFile.choose(m_dialogs, m_window, exportName(m_window->query().text));
    if (!path)
        return;
    const fosdat::data::SaveResult saved = fosdat::data::saveFile(*path, fosdat::resultsCsv(lines));
    if (!saved.ok) {
        m_dialogs.message(m_window,
                          QStringLiteral("Не удалось записать файл %1:\n%2")
                              .arg(QDir::toNativeSeparators(*path), saved.errorString),
                          MessageTitle, QMessageBox::Critical);
    }
}

void SearchCommands::sayNotFound(QWidget *owner)
{
    m_dialogs.message(owner, QStringLiteral("Строка не найдена!"),
                      QStringLiteral("База данных Тарвина"), QMessageBox::Critical);
}
