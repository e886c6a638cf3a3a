#pragma once

#include "ByteText.h"
#include "CatalogueTexts.h"
#include "TextMatcher.h"

#include <QList>
#include <QString>
#include <array>
#include <memory>

namespace fosdat
{

// The catalogue model's texts held for searching all groups at once: each
// text a byte a character beside its case-folded copy (ByteText), at the same
// positions as the model's, with its paragraphs counted. A group's text is
// indexed again only when the model has read its file again. The texts
// together stay within the model's budget, and this holds as much again
// (twice the characters in bytes). One thread at a time may update an index;
// what it hands out is never changed.
class CatalogueIndex
{
public:
    static constexpr int GroupCount = catalogue::GroupCount;

    // One group's text, indexed.
    struct Text {
        ByteText bytes;
        // The paragraphs begun before each stretch of CountStride characters.
        QList<int> paragraphCounts;
        quint64 generation = 0; // of the model's text it was made from
    };

    // Holds the texts of `catalogues`.
    void update(catalogue::CataloguesPtr catalogues);
    const catalogue::CataloguesPtr &catalogues() const { return m_catalogues; }
    // Each group's text as the index holds it, for whoever scans it besides.
    using Bytes = std::array<std::shared_ptr<const ByteText>, GroupCount>;
    Bytes bytes() const;

    // The matches of one search in one group's text, in order, each searched
    // for from the end of the one before.
    class Scan
    {
    public:
        // `matcher` must outlive the scan.
        Scan(const CatalogueIndex &index, int group, const TextMatcher &matcher);
        // The next match's position in the text, or -1.
        qsizetype next();

    private:
        std::shared_ptr<const Text> m_text;
        ByteText::Finder m_finder;
        qsizetype m_length;
        qsizetype m_from = 0;
    };

    // The paragraphs that hold positions of one group's text given in order,
    // each found in time proportional to the distance from the one before,
    // and at most to a few thousand characters.
    class Paragraphs
    {
    public:
        struct Paragraph {
            int number = -1;
            qsizetype start = 0;
            qsizetype end = -1; // its '\n' or the text's end
            QString text;
        };
        Paragraphs(const CatalogueIndex &index, int group);
        const Paragraph &at(qsizetype position);

    private:
        std::shared_ptr<const Text> m_text;
        QString m_characters; // the model's text
        Paragraph m_current;
    };

private:
    static constexpr qsizetype CountStride = 4096;

    static std::shared_ptr<const Text> indexed(const catalogue::CatalogueText &text);
    const std::shared_ptr<const Text> &text(int group) const
    {
        return m_texts.at(std::size_t(group));
    }

    catalogue::CataloguesPtr m_catalogues = std::make_shared<const catalogue::Catalogues>();
    std::array<std::shared_ptr<const Text>, GroupCount> m_texts;
};

} // namespace fosdat
