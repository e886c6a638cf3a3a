#include "ViewMatches.h"

#include "CatalogueView.h"
#include "MatchColor.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

using fosdat::TextMatch;
using fosdat::TextMatcher;

namespace
{

// The position in a paragraph of the catalogue's text of the character that
// the index counts as `offset`: it leaves out the zero-width spaces.
int positionInParagraph(QStringView paragraph, int offset)
{
    int counted = 0;
    for (qsizetype at = 0; at < paragraph.size(); ++at) {
        if (paragraph.at(at) == TextMatcher::ZeroWidthSpace)
            continue;
        if (counted++ == offset)
            return int(at);
    }
    return int(paragraph.size());
}

// Starts `update` whenever the watched widget changes its size.
class ResizeWatcher final : public QObject
{
public:
    ResizeWatcher(QObject *parent, QTimer &update) : QObject(parent), m_update(update) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_update.start();
        return QObject::eventFilter(watched, event);
    }

private:
    QTimer &m_update;
};

} // namespace

ViewMatches &ViewMatches::of(CatalogueView &view)
{
    auto *matches = view.findChild<ViewMatches *>(QString(), Qt::FindDirectChildrenOnly);
    return matches ? *matches : *new ViewMatches(view);
}

ViewMatches::ViewMatches(CatalogueView &view) : QObject(&view), m_view(view)
{
    m_update.setSingleShot(true);
    m_update.setInterval(0);
    connect(&m_update, &QTimer::timeout, this, &ViewMatches::updateHighlights);
    connect(&view, &CatalogueView::documentShown, this, &ViewMatches::clear);
    connect(&view, &CatalogueView::partShown, &m_update, qOverload<>(&QTimer::start));
    // Scrolling or resizing the view changes what is in sight.
    for (QScrollBar *bar : {view.verticalScrollBar(), view.horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, &m_update, qOverload<>(&QTimer::start));
    view.viewport()->installEventFilter(new ResizeWatcher(this, m_update));
}

void ViewMatches::highlight(const TextMatcher &matcher)
{
    m_highlighted = matcher;
    updateHighlights();
}

bool ViewMatches::selectNext(const TextMatcher &matcher, bool backward)
{
    const QString &text = m_view.catalogue().text;
    fosdat::TextSearch &search = m_view.textSearch();
    const TextMatch selected = m_view.selection();
    std::optional<TextMatch> found =
        search.find(text, matcher, backward ? selected.start : selected.end, backward);
    if (!found) // round the end of the catalogue
        found = search.find(text, matcher, backward ? int(text.size()) + 1 : 0, backward);
    if (!found)
        return false;
    m_view.showMatch(*found);
    return true;
}

bool ViewMatches::selectInParagraph(const TextMatcher &matcher, int paragraph, int offset)
{
    const fosdat::rtf::ContentRecord &catalogue = m_view.catalogue();
    const QString &text = catalogue.text;
    fosdat::TextSearch &search = m_view.textSearch();
    std::optional<TextMatch> found;
    if (paragraph >= 0 && paragraph < catalogue.paragraphs.size()) {
        const int start = int(catalogue.paragraphs.at(paragraph).start);
        const int end = int(catalogue.paragraphEnd(paragraph));
        const int at =
            start + positionInParagraph(QStringView(text).sliced(start, end - start), offset);
        found = search.find(text, matcher, at);
        if (found && found->start != at) { // the file has changed since it was searched
            found = search.find(text, matcher, start);
            if (found && found->start > end)
                found.reset();
        }
    }
    if (!found)
        found = search.find(text, matcher, 0);
    if (!found)
        return false;
    m_view.showMatch(*found);
    return true;
}

// The view has already let go of the highlights in the old document.
void ViewMatches::clear()
{
    m_highlighted = TextMatcher();
    m_update.stop();
}

// From the first paragraph in sight to the end of the last.
void ViewMatches::updateHighlights()
{
    if (m_highlighted.matchesNothing()) {
        m_view.setExtraSelections({});
        return;
    }
    QTextDocument &document = *m_view.document();
    const QRect sight = m_view.viewport()->rect();
    const QTextBlock first = m_view.cursorForPosition(sight.topLeft()).block();
    const QTextBlock last = m_view.cursorForPosition(sight.bottomRight()).block();
    const int from = int(m_view.cataloguePosition(first.position()));
    const int to = int(m_view.cataloguePosition(last.position() + last.length() - 1)) + 1;
    QList<QTextEdit::ExtraSelection> selections;
    QTextCharFormat format;
    format.setBackground(MatchBackground);
    for (const TextMatch &match :
         m_view.textSearch().findAll(m_view.catalogue().text, m_highlighted, from, to)) {
        QTextCursor cursor(&document);
        cursor.setPosition(m_view.documentPosition(match.start));
        cursor.setPosition(m_view.documentPosition(match.end), QTextCursor::KeepAnchor);
        selections.append({cursor, format});
    }
    m_view.setExtraSelections(selections);
}
