#pragma once

#include "RtfDocumentBuilder.h"
#include "RtfPicture.h"

#include <QString>
#include <optional>
#include <vector>

namespace fosdat::rtf
{

// The footnotes of a document. Their text is built while the document is read,
// by a builder of their own, and put after the document's text when the reading
// ends: a separating rule, then each footnote in paragraphs of its own. Where a
// footnote stands, the text keeps its mark (its number or the mark written there).
class Footnotes
{
public:
    // The footnotes are held whole: the text's builder, which they go
    // through at the end, decides what of them a document shows.
    Footnotes(DecoderCache &decoders, const CharFormat &plain)
        : m_builder(m_paragraphs, decoders, plain, std::nullopt)
    {
    }

    // A footnote begins: its text goes to builder() until end().
    void begin() { ++m_count; }
    DocumentBuilder &builder() { return m_builder; }
    // The footnote ends; `formats` are those in effect at its end.
    void end(const TextFormats &formats) { m_builder.endParagraph(formats); }

    // The number an automatic footnote mark stands for: in a footnote its own,
    // in the text that of the footnote that follows the mark.
    int number(bool inFootnote) const { return inFootnote ? m_count : m_count + 1; }

    // Gives a footnote's characters five sixths of the size they would have in
    // the text: 10 pt for 12 pt text, as word processors set footnotes.
    static void setSize(CharFormat &chars);

    // Appends the footnotes to the document's text, after a separator whose
    // empty line has `chars`.
    void appendTo(DocumentBuilder &text, const CharFormat &chars);

private:
    // Keeps what the builder makes as paragraphs of runs.
    class Paragraphs final : public ContentTarget
    {
    public:
        struct Run {
            QString text; // empty for a picture
            CharFormat format;
            std::optional<Picture> picture;
        };
        struct Paragraph {
            TextFormats formats;
            std::vector<Run> runs;
        };

        void formatFirstBlock(const TextFormats &formats) override { insertBlock(formats); }
        void setBlockFormat(const BlockFormat &format) override;
        void insertBlock(const TextFormats &formats) override;
        void splitBlock(qsizetype units, const TextFormats &formats) override;
        void insertText(const QString &text, const CharFormat &format) override;
        void insertPicture(const Picture &picture) override;

        const std::vector<Paragraph> &paragraphs() const { return m_paragraphs; }

    private:
        std::vector<Paragraph> m_paragraphs;
    };

    Paragraphs m_paragraphs;
    DocumentBuilder m_builder;
    int m_count = 0;
};

} // namespace fosdat::rtf
