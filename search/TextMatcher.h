#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>
#include <QTextDocument>

namespace fosdat
{

// One search text with the find options, matched in plain text as
// QTextDocument::find() matches it in a document: letter case ignored unless
// FindCaseSensitively, only whole words with FindWholeWords, never across the
// end of a paragraph. The plain text may be a document's raw text (paragraphs
// end in U+2029) or text joined by '\n', as rtf::readText() gives it; either
// way non-breaking spaces must have become spaces, as QTextDocument::find()
// reads them. Zero-width spaces are not seen: the reader puts them into
// over-long words so that lines can break there, and a word is found across
// them; they are left out of the search text, and whoever searches leaves
// them out of the text searched. FindBackward in the flags is ignored: the
// direction is the caller's choice of function.
class TextMatcher
{
public:
    TextMatcher() = default;
    TextMatcher(const QString &text, QTextDocument::FindFlags flags);

    // The search text, without zero-width spaces.
    const QString &text() const { return m_text; }
    QTextDocument::FindFlags flags() const { return m_flags; }
    qsizetype length() const { return m_text.size(); }
    // An empty text, or one that spans paragraphs, matches nowhere.
    bool matchesNothing() const { return m_nothing; }

    // The start of the first match at or after `from`, or -1.
    qsizetype indexIn(QStringView content, qsizetype from) const;
    // The start of the last match that starts before `before`, or -1: what
    // QTextDocument::find() gives searching backward from `before`.
    qsizetype lastIndexIn(QStringView content, qsizetype before) const;

    // Characters that end a paragraph in plain or raw document text; frames
    // begin and end with U+FDD0 and U+FDD1 in a document's raw text.
    static bool endsParagraph(QChar c)
    {
        return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
               c == QChar(0xFDD1);
    }
    // The mark the reader puts into over-long words, which no search sees.
    static constexpr QChar ZeroWidthSpace{0x200B};

private:
    bool isWholeWord(QStringView content, qsizetype start) const;

    QString m_text;
    QTextDocument::FindFlags m_flags;
    QStringMatcher m_matcher;
    bool m_nothing = true;
};

} // namespace fosdat
