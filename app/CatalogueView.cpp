#include "CatalogueView.h"

#include "WindowFront.h"

#include <QScrollBar>
#include <QTextCursor>

CatalogueView::CatalogueView(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
}

CatalogueView::~CatalogueView()
{
    // The text control lets go of our document before it is deleted.
    setDocument(nullptr);
}

void CatalogueView::showDocument(std::unique_ptr<QTextDocument> document)
{
    // Highlights hold cursors into the document that is about to go.
    setExtraSelections({});
    // Laid out at the view's width from the start: a document without one is
    // laid out whole, every paragraph a single line, as the view takes it
    // (0.2 s for 4 million characters), and then again at the width.
    document->setPageSize(this->document()->pageSize());
    setDocument(document.get());
    m_document = std::move(document);
    emit documentShown();
}

bool CatalogueView::selectFirstMatch(const QString &text, QTextDocument::FindFlags flags)
{
    const std::optional<fosdat::TextMatch> found =
        m_search.find(*document(), fosdat::TextMatcher(text, flags), 0);
    if (!found)
        return false;
    showMatch(*found);
    return true;
}

void CatalogueView::showMatch(const fosdat::TextMatch &match)
{
    QTextCursor selection(document());
    selection.setPosition(match.start);
    selection.setPosition(match.end, QTextCursor::KeepAnchor);
    QScrollBar *bar = verticalScrollBar();
    const int before = bar->value();
    setTextCursor(selection);
    if (bar->value() != before)
        bar->setValue(bar->value() + cursorRect().center().y() - viewport()->height() / 2);
}

void CatalogueView::bringToFront()
{
    bringWindowToFront(*window());
    setFocus(Qt::OtherFocusReason);
}
