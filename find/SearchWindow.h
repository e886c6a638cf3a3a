#pragma once

#include "SearchResults.h"

#include <QTextDocument>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class SearchResultsModel;

// The window that searches the whole catalogue: a field searched as the user
// types, the find dialog's two options, a count line and the results, one row
// per match. It says what to search and which result the user opened; whoever
// owns the catalogues searches them and hands it the results and the count
// line. Down goes from the field into the list, Enter or a double click opens
// a result, Escape closes the window.
class SearchWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SearchWindow(QWidget *parent = nullptr);
    ~SearchWindow() override;

    // Shows the window raised and active, its field's text selected for typing over.
    void showAndFocus();

    QString searchText() const;
    QTextDocument::FindFlags searchFlags() const;

    void clearResults();
    void addResults(const fosdat::SearchResults &batch);
    void showCountLine(const QString &line);

signals:
    // The field's text or an option changed; an empty text asks for nothing.
    void searchRequested(const QString &text, QTextDocument::FindFlags flags);
    void resultOpened(const fosdat::SearchResultPlace &place);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpLayout();
    void requestSearch();
    void openResult(const QModelIndex &index);
    // Enters the list at its current row, or its first; false when it is empty.
    bool enterList();

    QLineEdit *m_field;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QLabel *m_countLine;
    QListView *m_list;
    SearchResultsModel *m_model;
    bool m_placed = false;
};
