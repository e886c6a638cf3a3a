#include "CatalogueView.h"

#include "WindowFront.h"

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
    QTextCursor selection(document());
    selection.setPosition(found->start);
    selection.setPosition(found->end, QTextCursor::KeepAnchor);
    setTextCursor(selection);
    return true;
}

void CatalogueView::bringToFront()
{
    bringWindowToFront(*window());
    setFocus(Qt::OtherFocusReason);
}
