#pragma once

#include "TextSearch.h"

#include <QTextDocument>
#include <QTextEdit>
#include <memory>

// The catalogue view: a read-only rich text view of one catalogue document,
// which it owns.
class CatalogueView : public QTextEdit
{
    Q_OBJECT

public:
    explicit CatalogueView(QWidget *parent = nullptr);
    ~CatalogueView() override;

    // Shows `document` in place of the one shown, which is deleted.
    void showDocument(std::unique_ptr<QTextDocument> document);

    // Selects the first match of `text` in the whole document; false, with
    // the selection as it was, when there is none or `text` is empty.
    bool selectFirstMatch(const QString &text, QTextDocument::FindFlags flags);
    // Selects `match`; brought into sight from elsewhere, it is shown in the
    // middle of the view, with the lines around it.
    void showMatch(const fosdat::TextMatch &match);

    // Gives the view the keyboard focus, its window restored, raised and active.
    void bringToFront();

    // The search over the shown document's text, shared by whatever searches it.
    fosdat::TextSearch &textSearch() { return m_search; }

signals:
    // A new document is shown.
    void documentShown();

private:
    std::unique_ptr<QTextDocument> m_document; // null until the first is shown
    fosdat::TextSearch m_search;
};
