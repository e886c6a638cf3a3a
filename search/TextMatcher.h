#pragma once

#include "ByteText.h"

#include <QByteArray>
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
// reads them. FindBackward in the flags is ignored: the direction is the
// caller's choice of function.
class TextMatcher
{
public:
    TextMatcher() = default;
    TextMatcher(const QString &text, QTextDocument::FindFlags flags);

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

    // The first match at or after `from` in text held as bytes: the same as
    // in the text they came from, found by scanning bytes.
    qsizetype indexIn(const ByteText &content, qsizetype from) const;
    // Whether the search text has a character that folds to one without a
    // byte, which some character of `content` folds to as well: only a search
    // in its characters (content.toString()) finds those matches, and the
    // search in the bytes does that, slowly, on every call.
    bool needsCharacters(const ByteText &content) const
    {
        return m_byteForm == ByteForm::Characters && content.hasUnfoldable();
    }

    // Characters that end a paragraph in plain or raw document text; frames
    // begin and end with U+FDD0 and U+FDD1 in a document's raw text.
    static bool endsParagraph(QChar c)
    {
        return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
               c == QChar(0xFDD1);
    }

private:
    enum class ByteForm {
        Bytes,      // m_bytes is the search text in bytes, folded unless matching case
        NoMatch,    // a character has no byte, so no text held in bytes has it
        Characters, // see needsCharacters()
    };
    void makeByteForm();
    bool isWholeWord(QStringView content, qsizetype start) const;
    bool isWholeWord(const QByteArray &content, qsizetype start) const;

    QString m_text;
    QTextDocument::FindFlags m_flags;
    QStringMatcher m_matcher;
    bool m_nothing = true;
    QByteArray m_bytes;
    ByteForm m_byteForm = ByteForm::NoMatch;
};

} // namespace fosdat
