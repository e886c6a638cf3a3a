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
    if (text.isEmpty() || from < 0 || std::any_of(text.cbegin(), text.cend(), endsParagraph))
        return -1;
    const QString &content = textOf(document);
    const Qt::CaseSensitivity sensitivity =
        flags & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype offset = from;
    while (offset <= content.size()) {
        const qsizetype start = content.indexOf(text, offset, sensitivity);
        if (start < 0)
            return -1;
        const qsizetype end = start + text.size();
        // A paragraph's edges count as word boundaries, and the raw text has
        // a separator there; QTextDocument::find() goes on one character
        // past a match that is not a whole word.
        if (!(flags & QTextDocument::FindWholeWords) ||
            (!isWordCharacter(content, start - 1) && !isWordCharacter(content, end)))
            return int(start);
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
