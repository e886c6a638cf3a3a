#pragma once

#include "SearchResults.h"

#include <QTextDocument>
#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class SearchResultsModel;

// The window that searches the whole catalogue: a field searched as the user
// types, the find dialog's two options, a filter on the group, a count line
// and the results, one row per match, those that name a genus by the text
// searched first. It says what to search and which result the user opened or
// wants exported; whoever owns the catalogues searches them and hands it the
// results and the count line. Down goes from the field into the list, Enter
// in the field opens the first result, Enter or a double click in the list
// the current one, Escape closes the window. Rows are selected together with
// Shift or Ctrl and the mouse or the arrows, or Ctrl+A; Ctrl+C copies them.
//
// "ссылка N" in the field (as the citing search puts it there) lists the
// lines that cite reference N; anything else typed is searched as text.
class SearchWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SearchWindow(QWidget *parent = nullptr);
    ~SearchWindow() override;

    // Shows the window raised and active, its field's text selected for typing over.
    void showAndFocus();
    // The groups the filter offers, in the order of their rows.
    void setGroupCaptions(const QStringList &captions);
    // Lists the lines citing reference `number` in every group.
    void showCitingSearch(int number);

    fosdat::SearchQuery query() const;

    void clearResults();
    void addResults(const fosdat::SearchResults &batch);
    void showCountLine(const QString &line);
    // The search asked for last has ended: Enter pressed meanwhile opens its first result.
    void finishSearch();

    // The rows to export: the selected ones when several are, else all.
    QList<fosdat::ResultLine> exportedLines() const;

signals:
    // The field's text, an option or the filter changed; an empty text asks for nothing.
    void searchRequested(const fosdat::SearchQuery &query);
    void resultOpened(const fosdat::SearchResultPlace &place);
    void exportRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Commands {
        QAction *close;
        QAction *copy;
        QAction *selectAll;
    };
    void setUpLayout();
    Commands setUpCommands();
    void requestSearch();
    void openResult(const QModelIndex &index);
    void openFirstResult();
    // Enters the list at its current row, or its first; false when it is empty.
    bool enterList();
    QList<int> selectedRows() const;
    void copySelection();
    void updateExport();

    QLineEdit *m_field;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QComboBox *m_groupFilter;
    QLabel *m_countLine;
    QPushButton *m_export;
    QAction *m_exportAction = nullptr; // the same in the list's context menu
    QListView *m_list;
    SearchResultsModel *m_model;
    bool m_placed = false;
    bool m_searching = false;          // the search asked for last has not ended
    bool m_openFirstWhenFound = false; // Enter was pressed in the field meanwhile
};
