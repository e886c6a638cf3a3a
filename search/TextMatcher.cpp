#include "TextMatcher.h"

#include <algorithm>

namespace fosdat
{

namespace
{

bool isWordCharacter(QStringView text, qsizetype index)
{
    return index >= 0 && index < text.size() && text.at(index).isLetterOrNumber();
}

Qt::CaseSensitivity sensitivityOf(QTextDocument::FindFlags flags)
{
    return flags & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

TextMatcher::TextMatcher(const QString &text, QTextDocument::FindFlags flags)
    : m_text(QString(text).remove(ZeroWidthSpace)), m_flags(flags & ~QTextDocument::FindBackward),
      m_matcher(m_text, sensitivityOf(flags)),
      m_nothing(m_text.isEmpty() || std::any_of(m_text.cbegin(), m_text.cend(), endsParagraph))
{
}

// A paragraph's edges count as word boundaries, and the text has a separator there.
bool TextMatcher::isWholeWord(QStringView content, qsizetype start) const
{
    return !isWordCharacter(content, start - 1) && !isWordCharacter(content, start + length());
}

qsizetype TextMatcher::indexIn(QStringView content, qsizetype from) const
{
    if (m_nothing || from < 0)
        return -1;
    qsizetype offset = from;
    while (offset <= content.size()) {
        const qsizetype start = m_matcher.indexIn(content, offset);
        if (start < 0 || !(m_flags & QTextDocument::FindWholeWords) || isWholeWord(content, start))
            return start;
        // QTextDocument::find() goes on one character past a match that is not a whole word.
        offset = start + length() + 1;
    }
    return -1;
}

qsizetype TextMatcher::lastIndexIn(QStringView content, qsizetype before) const
{
    if (m_nothing)
        return -1;
    const Qt::CaseSensitivity sensitivity = sensitivityOf(m_flags);
    qsizetype offset = std::min(before, content.size()) - 1;
    while (offset >= 0) {
        const qsizetype start = content.lastIndexOf(m_text, offset, sensitivity);
        if (start < 0 || !(m_flags & QTextDocument::FindWholeWords) || isWholeWord(content, start))
            return start;
        offset = start - 1;
    }
    return -1;
}

} // namespace fosdat
