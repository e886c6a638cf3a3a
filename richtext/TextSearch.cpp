#include "TextSearch.h"

#include <algorithm>

namespace fosdat
{

namespace
{

// Characters that end a paragraph in a document's raw text, where frames
// begin and end too; QTextDocument::find() never matches across them.
bool endsParagraph(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

constexpr QChar ZeroWidthSpace(0x200B);

bool isWordCharacter(const QString &text, qsizetype index)
{
    return index >= 0 && index < text.size() && text.at(index).isLetterOrNumber();
}

} // namespace

TextSearch::~TextSearch()
{
    QObject::disconnect(m_changed);
}

int TextSearch::find(QTextDocument &document, const QString &text, int from,
                     QTextDocument::FindFlags flags)
{
    Q_ASSERT(!(flags & QTextDocument::FindBackward));
    m_matchEnd = -1;
    const QString wanted = QString(text).remove(ZeroWidthSpace);
    if (wanted.isEmpty() || from < 0 || std::any_of(wanted.cbegin(), wanted.cend(), endsParagraph))
        return -1;
    const QString &content = textOf(document);
    const Qt::CaseSensitivity sensitivity =
        flags & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype offset = textIndex(from);
    while (offset <= content.size()) {
        const qsizetype start = content.indexOf(wanted, offset, sensitivity);
        if (start < 0)
            return -1;
        const qsizetype end = start + wanted.size();
        // A paragraph's edges count as word boundaries, and the raw text has
        // a separator there; QTextDocument::find() goes on one character
        // past a match that is not a whole word.
        if (!(flags & QTextDocument::FindWholeWords) ||
            (!isWordCharacter(content, start - 1) && !isWordCharacter(content, end))) {
            m_matchEnd = int(position(end - 1) + 1);
            return int(position(start));
        }
        offset = end + 1;
    }
    return -1;
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
