#include "TextSearch.h"

#include <algorithm>

namespace fosdat
{

TextSearch::~TextSearch()
{
    QObject::disconnect(m_changed);
}

int TextSearch::find(QTextDocument &document, const QString &text, int from,
                     QTextDocument::FindFlags flags)
{
    const TextMatcher matcher(text, flags);
    if (matcher.matchesNothing() || from < 0)
        return -1;
    const QString &content = textOf(document);
    if (!(flags & QTextDocument::FindBackward))
        return int(matcher.indexIn(content, from));
    // QTextDocument::find() finds nothing backward from past the end.
    return from > document.characterCount() ? -1 : int(matcher.lastIndexIn(content, from));
}

QList<int> TextSearch::findAll(QTextDocument &document, const TextMatcher &matcher, int from,
                               int to)
{
    QList<int> found;
    if (matcher.matchesNothing() || from < 0)
        return found;
    const QString &content = textOf(document);
    // Every match that starts before `to` lies in the text cut there, and so
    // does the character after it, which decides whether it is a whole word.
    const QStringView range = QStringView(content).first(
        std::clamp<qsizetype>(qsizetype(to) + matcher.length(), 0, content.size()));
    for (qsizetype start = matcher.indexIn(range, from); start >= 0 && start < to;
         start = matcher.indexIn(range, start + matcher.length()))
        found.append(int(start));
    return found;
}

// The raw text has one character per document position; QTextDocument::find()
// reads non-breaking spaces as spaces.
const QString &TextSearch::textOf(QTextDocument &document)
{
    if (m_document != &document) {
        QObject::disconnect(m_changed);
        m_document = &document;
        m_text = document.toRawText();
        m_text.replace(QChar::Nbsp, u' ');
        m_changed =
            QObject::connect(&document, &QTextDocument::contentsChanged, [this] { forget(); });
    }
    return m_text;
}

void TextSearch::forget()
{
    m_document.clear();
    m_text.clear();
}

} // namespace fosdat
