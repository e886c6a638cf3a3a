#pragma once

#include <QObject>
#include <QPointer>

class QTextDocument;
class QTextEdit;

// A place in the catalogue: a paragraph, counted from the catalogue's first
// (0), and a character within it. It names the same text however the view
// lays the catalogue out: zoomed, at another width, or, were the view to
// hold a part of the catalogue, whichever part it holds.
struct CataloguePlace {
    int paragraph = 0;
    int offset = 0;

    friend bool operator==(const CataloguePlace &, const CataloguePlace &) = default;
};

// The place of the text at the top left corner of `view`.
CataloguePlace topPlace(const QTextEdit &view);
// Scrolls `view` so that the line holding `place` is its top line.
void showAtTop(QTextEdit &view, CataloguePlace place);

// Keeps the text at the top of a view there while the view's width changes
// (the window resized, maximised or restored, the reading mode entered or
// left). Qt lays the text out again at the new width and keeps the scroll
// bar's value, a height in pixels, which then shows other text. The
// selection stays as it is.
class TopKeeper final : public QObject
{
    Q_OBJECT

public:
    explicit TopKeeper(QTextEdit *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restore();

    QTextEdit *m_view;
    // The place to bring back, taken before the first of the resizes that
    // come together, and the document it is in.
    CataloguePlace m_place;
    QPointer<QTextDocument> m_document;
    bool m_pending = false;
};
