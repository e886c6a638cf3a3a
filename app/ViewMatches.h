#pragma once

#include "TextMatcher.h"
#include "TextSearch.h"

#include <QObject>
#include <QTimer>

class CatalogueView;

// The matches of the last search in one catalogue view: it selects the next
// or previous one, or the one a search result names, and highlights those in
// sight until another document is shown. Only the visible part is searched
// for highlights, again whenever it scrolls or changes size, so that a query
// matching everywhere in the largest catalogue costs no more than one screen.
class ViewMatches final : public QObject
{
    Q_OBJECT

public:
    // The view's one instance, made on first use as the view's child.
    static ViewMatches &of(CatalogueView &view);

    // Highlights the matches of `matcher` in sight from now on.
    void highlight(const fosdat::TextMatcher &matcher);
    // Selects the next match after the selection, or the previous one before
    // it, going round the end of the document; false, the selection as it
    // was, when the document has none.
    bool selectNext(const fosdat::TextMatcher &matcher, bool backward);
    // Selects the match that begins `offset` characters into the text of
    // paragraph `paragraph`, counted as the index counts them (pictures and
    // zero-width spaces left out); failing that the paragraph's first match,
    // failing that the document's. False when there is none.
    bool selectInParagraph(const fosdat::TextMatcher &matcher, int paragraph, int offset);

private:
    explicit ViewMatches(CatalogueView &view);
    void clear();
    void updateHighlights();

    CatalogueView &m_view;
    fosdat::TextMatcher m_highlighted; // matches nothing when nothing is highlighted
    QTimer m_update;
};
