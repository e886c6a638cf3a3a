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
    return findIn(textOf(document), document.characterCount(), matcher, from, backward);
}

QList<TextMatch> TextSearch::findAll(QTextDocument &document, const TextMatcher &matcher, int from,
                                     int to)
{
    if (matcher.matchesNothing() || from < 0)
        return {};
    return findAllIn(textOf(document), matcher, from, to);
}

std::optional<TextMatch> TextSearch::find(const QString &text, const TextMatcher &matcher, int from,
                                          bool backward)
{
    if (matcher.matchesNothing() || from < 0)
        return std::nullopt;
    return findIn(textOf(text), text.size() + 1, matcher, from, backward);
}

QList<TextMatch> TextSearch::findAll(const QString &text, const TextMatcher &matcher, int from,
                                     int to)
{
    if (matcher.matchesNothing() || from < 0)
        return {};
    return findAllIn(textOf(text), matcher, from, to);
}

// `length`: the positions there are, the one after the last character included.
std::optional<TextMatch> TextSearch::findIn(const QString &content, qsizetype length,
                                            const TextMatcher &matcher, int from,
                                            bool backward) const
{
    qsizetype start = -1;
    if (!backward)
        start = matcher.indexIn(content, textIndex(from));
    else if (from <= length) // QTextDocument::find() finds nothing from past the end
        start = matcher.lastIndexIn(content, textIndex(from));
    if (start < 0)
        return std::nullopt;
    return matchAt(start, matcher);
}

QList<TextMatch> TextSearch::findAllIn(const QString &content, const TextMatcher &matcher, int from,
                                       int to) const
{
    QList<TextMatch> found;
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
        forget();
        take(document.toRawText());
        m_document = &document;
        m_changed =
            QObject::connect(&document, &QTextDocument::contentsChanged, [this] { forget(); });
    }
    return m_text;
}

const QString &TextSearch::textOf(const QString &text)
{
    if (m_document || m_source != text.constData() ||
        m_text.size() + m_spaceIndexes.size() != text.size()) {
        forget();
        take(text);
        m_source = text.constData();
    }
    return m_text;
}

void TextSearch::take(QString raw)
{
    m_text = std::move(raw);
    m_text.replace(QChar::Nbsp, u' ');
    for (qsizetype at = m_text.indexOf(ZeroWidthSpace); at >= 0;
         at = m_text.indexOf(ZeroWidthSpace, at + 1)) {
        m_spacePositions.append(at);
        m_spaceIndexes.append(at - m_spaceIndexes.size());
    }
    m_text.remove(ZeroWidthSpace);
}

void TextSearch::forget()
{
    QObject::disconnect(m_changed);
    m_document.clear();
    m_source = nullptr;
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
