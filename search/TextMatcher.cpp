#include "TextMatcher.h"

#include <algorithm>
#include <cstring>

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
    : m_text(text), m_flags(flags & ~QTextDocument::FindBackward),
      m_matcher(text, sensitivityOf(flags)),
      m_nothing(text.isEmpty() || std::any_of(text.cbegin(), text.cend(), endsParagraph))
{
    makeByteForm();
}

void TextMatcher::makeByteForm()
{
    const bool matchCase = m_flags & QTextDocument::FindCaseSensitively;
    m_bytes.reserve(m_text.size());
    for (const QChar c : std::as_const(m_text)) {
        const std::optional<char> byte =
            matchCase ? ByteText::byteOf(c) : ByteText::foldedByteOf(c);
        if (!byte) {
            m_byteForm = matchCase ? ByteForm::NoMatch : ByteForm::Characters;
            m_bytes.clear();
            return;
        }
        m_bytes.append(*byte);
    }
    m_byteForm = ByteForm::Bytes;
}

// A paragraph's edges count as word boundaries, and the text has a separator there.
bool TextMatcher::isWholeWord(QStringView content, qsizetype start) const
{
    return !isWordCharacter(content, start - 1) && !isWordCharacter(content, start + length());
}

bool TextMatcher::isWholeWord(const QByteArray &content, qsizetype start) const
{
    const qsizetype end = start + length();
    return (start == 0 || !ByteText::isWordByte(content[start - 1])) &&
           (end >= content.size() || !ByteText::isWordByte(content[end]));
}

qsizetype TextMatcher::indexIn(const ByteText &content, qsizetype from) const
{
    if (m_nothing || from < 0 || m_byteForm == ByteForm::NoMatch)
        return -1;
    if (m_byteForm == ByteForm::Characters)
        return content.hasUnfoldable() ? indexIn(content.toString(), from) : -1;
    const QByteArray &haystack =
        m_flags & QTextDocument::FindCaseSensitively ? content.bytes() : content.folded();
    qsizetype offset = from;
    while (offset <= haystack.size()) {
        const void *found = memmem(haystack.constData() + offset, size_t(haystack.size() - offset),
                                   m_bytes.constData(), size_t(m_bytes.size()));
        if (!found)
            return -1;
        const qsizetype start = static_cast<const char *>(found) - haystack.constData();
        if (!(m_flags & QTextDocument::FindWholeWords) || isWholeWord(content.bytes(), start))
            return start;
        offset = start + length() + 1;
    }
    return -1;
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
