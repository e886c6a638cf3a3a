#pragma once

#include "TextMatcher.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextDocument>

namespace fosdat
{

// Finds text in a document with the results of QTextDocument::find(), but on
// one copy of the document's text, taken on the first search and kept until
// the document changes. QTextDocument::find() looks every paragraph up in the
// document's trees again, which makes each character cost more the longer the
// document is; a scan of one string does not.
//
// Zero-width spaces are not seen: the reader puts them into over-long words
// so that lines can break there, and a word is found across them. Positions
// are still those of the document.
class TextSearch
{
public:
    TextSearch() = default;
    ~TextSearch();
    TextSearch(const TextSearch &) = delete;
    TextSearch &operator=(const TextSearch &) = delete;

    // The position of the first match at or after `from`, or with
    // FindBackward of the last match that starts before `from`; -1 when there
    // is none. A match lies within one paragraph.
    int find(QTextDocument &document, const QString &text, int from,
             QTextDocument::FindFlags flags);
    // The position after the last match find() gave: its start and the
    // text's length, and the zero-width spaces inside it. -1 when it found none.
    int lastMatchEnd() const { return m_matchEnd; }

    // The positions of the matches that start at or after `from` and before
    // `to`, in order, each searched for from the end of the one before.
    QList<int> findAll(QTextDocument &document, const TextMatcher &matcher, int from, int to);

private:
    const QString &textOf(QTextDocument &document);
    void forget();
    qsizetype textIndex(qsizetype position) const;
    qsizetype position(qsizetype textIndex) const;

    QPointer<QTextDocument> m_document; // whose text m_text holds
    QMetaObject::Connection m_changed;
    QString m_text; // without the zero-width spaces
    // Where the zero-width spaces were: their positions in the document, and
    // the index in m_text of the character that follows each.
    QList<qsizetype> m_spacePositions;
    QList<qsizetype> m_spaceIndexes;
    int m_matchEnd = -1;
};

} // namespace fosdat
