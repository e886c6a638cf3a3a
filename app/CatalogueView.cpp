#include "CatalogueView.h"

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
    const int found = m_search.find(*document(), text, 0, flags);
    if (found < 0)
        return false;
    QTextCursor selection(document());
    selection.setPosition(found);
    selection.setPosition(m_search.lastMatchEnd(), QTextCursor::KeepAnchor);
    setTextCursor(selection);
    return true;
}

void CatalogueView::bringToFront()
{
    if (QWidget *top = window()) {
        // A minimised window would take the focus out of sight.
        if (top->isMinimized())
            top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
        top->raise();
        top->activateWindow();
    }
    setFocus(Qt::OtherFocusReason);
}
