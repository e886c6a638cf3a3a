#pragma once

#include "TextMatcher.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextDocument>
#include <optional>

namespace fosdat
{

// A match in a document: from its first character to the position after its
// last, the zero-width spaces inside it counted.
struct TextMatch {
    int start = 0;
    int end = 0;
    friend bool operator==(const TextMatch &, const TextMatch &) = default;
};

// Finds text in a document with the results of QTextDocument::find(), but on
// one copy of the document's text, taken on the first search and kept until
// the document changes. QTextDocument::find() looks every paragraph up in the
// document's trees again, which makes each character cost more the longer the
// document is; a scan of one string does not.
//
// Zero-width spaces are not seen (TextMatcher), but positions are those of
// the document, the spaces counted.
class TextSearch
{
public:
    TextSearch() = default;
    ~TextSearch();
    TextSearch(const TextSearch &) = delete;
    TextSearch &operator=(const TextSearch &) = delete;

    // The first match that starts at or after `from`, or `backward` the last
    // that starts before `from`. A match lies within one paragraph.
    std::optional<TextMatch> find(QTextDocument &document, const TextMatcher &matcher, int from,
                                  bool backward = false);

    // The matches that start at or after `from` and before `to`, in order,
    // each searched for from the end of the one before.
    QList<TextMatch> findAll(QTextDocument &document, const TextMatcher &matcher, int from, int to);

    // The same in a text that stays as it is while it is searched (a
    // catalogue's whole text, shared and never changed), its positions
    // those of the text; a text with other data is taken anew.
    std::optional<TextMatch> find(const QString &text, const TextMatcher &matcher, int from,
                                  bool backward = false);
    QList<TextMatch> findAll(const QString &text, const TextMatcher &matcher, int from, int to);

private:
    const QString &textOf(QTextDocument &document);
    const QString &textOf(const QString &text);
    void take(QString raw);
    std::optional<TextMatch> findIn(const QString &content, qsizetype length,
                                    const TextMatcher &matcher, int from, bool backward) const;
    QList<TextMatch> findAllIn(const QString &content, const TextMatcher &matcher, int from,
                               int to) const;
    void forget();
    qsizetype textIndex(qsizetype position) const;
    qsizetype position(qsizetype textIndex) const;
    TextMatch matchAt(qsizetype textIndex, const TextMatcher &matcher) const;

    QPointer<QTextDocument> m_document; // whose text m_text holds, or
    const QChar *m_source = nullptr;    // the data of the text it holds
    QMetaObject::Connection m_changed;
    QString m_text; // without the zero-width spaces
    // Where the zero-width spaces were: their positions in the document, and
    // the index in m_text of the character that follows each.
    QList<qsizetype> m_spacePositions;
    QList<qsizetype> m_spaceIndexes;
};

} // namespace fosdat
