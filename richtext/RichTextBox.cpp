#include "RichTextBox.h"

#include "DataFiles.h"
#include "RtfReader.h"

#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
}

bool RichTextBox::LoadFile(const QString &path)
{
    const std::optional<QByteArray> bytes = fosdat::data::readRegularFile(path);
    if (!bytes)
        return false;
    rtf::ReadResult result = rtf::read(*bytes);
    if (!result.ok())
        return false;
    // The view deletes a document it created itself when it is replaced;
    // the ones it was given are ours to delete.
    QPointer<QTextDocument> old = document();
    QTextDocument *fresh = result.document.release();
    fresh->setParent(this);
    setDocument(fresh);
    if (old && old->parent() == this)
        delete old;
    return true;
}

rtf::SaveResult RichTextBox::SaveFile(const QString &path) const
{
    return rtf::saveBytes(rtf::write(*document()), path);
}

int RichTextBox::Find(const QString &text, int start, int options)
{
    if (text.isEmpty())
        return -1;
    QTextDocument::FindFlags flags;
    if (options & rtfWholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (options & rtfMatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    const int found = m_search.find(*document(), text, qMax(0, start), flags);
    if (found < 0)
        return -1;
    if (!(options & rtfNoHighlight)) {
        QTextCursor selection(document());
        selection.setPosition(found);
        selection.setPosition(found + int(text.size()), QTextCursor::KeepAnchor);
        setTextCursor(selection);
    }
    return found;
}

void RichTextBox::SetFocus()
{
    if (QWidget *top = window()) {
        // A minimized window would take the focus out of sight.
        if (top->isMinimized())
            top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
        top->raise();
        top->activateWindow();
    }
    setFocus(Qt::OtherFocusReason);
}
