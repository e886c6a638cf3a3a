#include "ViewMatches.h"

#include "CatalogueView.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

using fosdat::TextMatcher;

namespace
{

const QColor HighlightBackground(255, 236, 140); // light amber, unlike the selection's blue

// The position in a paragraph of the character that the text-only reader
// counts as `offset`: it leaves pictures out, the document has one character
// for each.
int positionInParagraph(QStringView paragraph, int offset)
{
    int counted = 0;
    for (qsizetype at = 0; at < paragraph.size(); ++at) {
        if (paragraph.at(at) == QChar::ObjectReplacementCharacter)
            continue;
        if (counted++ == offset)
            return int(at);
    }
    return int(paragraph.size());
}

// Resizing or scrolling the view changes what is in sight.
class SightWatch final : public QObject
{
public:
    SightWatch(QObject *parent, QTimer &update) : QObject(parent), m_update(update) {}

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
    for (QScrollBar *bar : {view.verticalScrollBar(), view.horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, &m_update, qOverload<>(&QTimer::start));
    view.viewport()->installEventFilter(new SightWatch(this, m_update));
}

void ViewMatches::highlight(const TextMatcher &matcher)
{
    m_highlighted = matcher;
    updateHighlights();
}

bool ViewMatches::selectNext(const TextMatcher &matcher, bool backward)
{
    QTextDocument &document = *m_view.document();
    fosdat::TextSearch &search = m_view.textSearch();
    const QTextCursor cursor = m_view.textCursor();
    QTextDocument::FindFlags flags = matcher.flags();
    if (backward)
        flags |= QTextDocument::FindBackward;
    int found = search.find(document, matcher.text(),
                            backward ? cursor.selectionStart() : cursor.selectionEnd(), flags);
    if (found < 0) // round the end of the document
        found =
            search.find(document, matcher.text(), backward ? document.characterCount() : 0, flags);
    if (found < 0)
        return false;
    select(found, matcher.length());
    return true;
}

bool ViewMatches::selectInParagraph(const TextMatcher &matcher, int paragraph, int offset)
{
    QTextDocument &document = *m_view.document();
    const QTextBlock block = document.findBlockByNumber(paragraph);
    if (block.isValid()) {
        const QString text = block.text();
        const int at = positionInParagraph(text, offset);
        // The paragraph's text as the view's search reads it.
        const QString searched = QString(text).replace(QChar::Nbsp, u' ');
        qsizetype found = matcher.indexIn(searched, at);
        if (found != at) // the file has changed since it was searched
            found = matcher.indexIn(searched, 0);
        if (found >= 0) {
            select(block.position() + int(found), matcher.length());
            return true;
        }
    }
    const int first = m_view.textSearch().find(document, matcher.text(), 0, matcher.flags());
    if (first < 0)
        return false;
    select(first, matcher.length());
    return true;
}

void ViewMatches::select(int position, qsizetype length)
{
    QTextCursor selection(m_view.document());
    selection.setPosition(position);
    selection.setPosition(position + int(length), QTextCursor::KeepAnchor);
    QScrollBar *bar = m_view.verticalScrollBar();
    const int before = bar->value();
    m_view.setTextCursor(selection);
    // A match brought into sight from elsewhere is shown in the middle, with
    // the lines around it.
    if (bar->value() != before)
        bar->setValue(bar->value() + m_view.cursorRect().center().y() -
                      m_view.viewport()->height() / 2);
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
    const int from = first.position();
    const int to = last.position() + last.length();
    QList<QTextEdit::ExtraSelection> selections;
    QTextCharFormat format;
    format.setBackground(HighlightBackground);
    for (int at : m_view.textSearch().findAll(document, m_highlighted, from, to)) {
        QTextCursor cursor(&document);
        cursor.setPosition(at);
        cursor.setPosition(at + int(m_highlighted.length()), QTextCursor::KeepAnchor);
        selections.append({cursor, format});
    }
    m_view.setExtraSelections(selections);
}
