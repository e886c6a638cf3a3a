#pragma once

#include "CatalogueSearch.h"
#include "SearchResults.h"
#include "SearchWindow.h"
#include "TextMatcher.h"
#include "UserDialogs.h"

#include <QObject>
#include <QPointer>
#include <functional>

class CatalogueView;
class Fosdat;

// The searches beside the find dialog: the search window over every
// catalogue (also listing the lines that cite a reference, and exporting its
// results), find next and previous in the catalogue window, and the
// highlighting of the last search's matches there. The last search is the
// find dialog's or the search window's, whichever came last. What needs the
// catalogue window's document waits for the load it follows.
class SearchCommands final : public QObject
{
    Q_OBJECT

public:
    // `catalogueWindow` gives the catalogue window, made again if it was closed.
    SearchCommands(UserDialogs &dialogs, std::function<Fosdat *()> catalogueWindow);
    ~SearchCommands() override;

    // Builds the index right after `window` is first painted.
    void prepareAfterFirstPaint(Fosdat &window);
    // Creates the search window on first use, then shows and raises it.
    void openSearchWindow();
    // The search window listing the lines of every group that cite reference `number`.
    void showCitingGenera(int number);
    void closeSearchWindow();
    // The find dialog searched `view`: that search is now the last, and its
    // matches are highlighted when it found one.
    void searchedInView(CatalogueView &view, const QString &text, QTextDocument::FindFlags flags,
                        bool found);
    void findNext() { findAgain(false); }
    void findPrevious() { findAgain(true); }
    // Says that the text searched for is not there, in a box owned by `owner`.
    void sayNotFound(QWidget *owner);

    SearchWindow *searchWindow() const { return m_window; }
    fosdat::CatalogueSearch &catalogueSearch() { return m_search; }

signals:
    // Find next or previous with no search to continue.
    void findDialogWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SearchWindow &searchWindowMade();
    void searchAll(const fosdat::SearchQuery &query);
    void openResult(const fosdat::SearchResultPlace &place);
    // The search window's rows written as a CSV file that the user names.
    void exportResults();
    void findAgain(bool backward);

    UserDialogs &m_dialogs;
    std::function<Fosdat *()> m_catalogueWindow;
    fosdat::CatalogueSearch m_search;
    QPointer<SearchWindow> m_window;
    fosdat::TextMatcher m_last;   // what find next and previous continue
    fosdat::TextMatcher m_listed; // the search whose results the window lists
    ExportFileChooser m_exportFile{QStringLiteral("Экспорт результатов"),
                                   QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")};
};
