#pragma once

#include "RtfWriter.h"
#include "TextSearch.h"

#include <QTextEdit>

// The catalogue view: a read-only rich text view that loads, saves and
// searches RTF documents.
class RichTextBox : public QTextEdit
{
    Q_OBJECT

public:
    // Options of Find(), combinable.
    enum FindOption { rtfWholeWord = 2, rtfMatchCase = 4, rtfNoHighlight = 8 };

    explicit RichTextBox(QWidget *parent = nullptr);

    // Replaces the whole content with the RTF document at `path`. On a missing,
    // unreadable or non-RTF file it returns false and the content stays as it was.
    bool LoadFile(const QString &path);

    // Writes the whole content as RTF to `path`.
    rtf::SaveResult SaveFile(const QString &path) const;

    // Searches from character index `start` to the end. Returns the index of the
    // first match and selects it (unless rtfNoHighlight), or -1.
    int Find(const QString &text, int start, int options);

    // Gives the view the keyboard focus and makes its window the active one.
    void SetFocus();

private:
    TextSearch m_search;
};
