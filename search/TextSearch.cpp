#include "TextSearch.h"

#include <algorithm>

namespace fosdat
{

namespace
{

constexpr QChar ZeroWidthSpace = TextMatcher::ZeroWidthSpace;

} // namespace

TextSearch::~TextSearch()
{
    QObject::disconnect(m_changed);
}

std::optional<TextMatch> TextSearch::find(QTextDocument &document, const TextMatcher &matcher,
                                          int from, bool backward)
{
    if (matcher.matchesNothing() || from < 0)
        return std::nullopt;
    const QString &content = textOf(document);
    qsizetype start = -1;
    if (!backward)
        start = matcher.indexIn(content, textIndex(from));
    else if (from <=
             document.characterCount()) // QTextDocument::find() finds nothing from past the end
        start = matcher.lastIndexIn(content, textIndex(from));
    if (start < 0)
        return std::nullopt;
    return matchAt(start, matcher);
}

QList<TextMatch> TextSearch::findAll(QTextDocument &document, const TextMatcher &matcher, int from,
                                     int to)
{
    QList<TextMatch> found;
    if (matcher.matchesNothing() || from < 0)
        return found;
    const QString &content = textOf(document);
    const qsizetype end = textIndex(to);
    // Every match that starts before `end` lies in the text cut there, and so
    // does the character after it, which decides whether it is a whole word.
    const QStringView range = QStringView(content).first(
        std::clamp<qsizetype>(end + matcher.length(), 0, content.size()));
    for (qsizetype start = matcher.indexIn(range, textIndex(from)); start >= 0 && start < end;
         start = matcher.indexIn(range, start + matcher.length()))
        found.append(matchAt(start, matcher));
    return found;
}

// From the document position of its first character to the one after its last.
TextMatch TextSearch::matchAt(qsizetype textIndex, const TextMatcher &matcher) const
{
    return {int(position(textIndex)), int(position(textIndex + matcher.length() - 1) + 1)};
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
        m_spacePositions.clear();
        m_spaceIndexes.clear();
        for (qsizetype at = m_text.indexOf(ZeroWidthSpace); at >= 0;
             at = m_text.indexOf(ZeroWidthSpace, at + 1)) {
            m_spacePositions.append(at);
            m_spaceIndexes.append(at - m_spaceIndexes.size());
        }
        m_text.remove(ZeroWidthSpace);
        m_changed =
            QObject::connect(&document, &QTextDocument::contentsChanged, [this] { forget(); });
    }
    return m_text;
}

void TextSearch::forget()
{
    m_document.clear();
    m_text.clear();
    m_spacePositions.clear();
    m_spaceIndexes.clear();
}

// The index in m_text of the first character at or after a document position.
qsizetype TextSearch::textIndex(qsizetype position) const
{
    const auto before =
        std::lower_bound(m_spacePositions.cbegin(), m_spacePositions.cend(), position);
    return position - (before - m_spacePositions.cbegin());
}

// The document position of the character at an index of m_text.
qsizetype TextSearch::position(qsizetype textIndex) const
{
    const auto before = std::upper_bound(m_spaceIndexes.cbegin(), m_spaceIndexes.cend(), textIndex);
    return textIndex + (before - m_spaceIndexes.cbegin());
}

} // namespace fosdat
