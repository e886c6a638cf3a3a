#include "RtfRecordDocument.h"

#include "RtfDocumentTarget.h"

#include <algorithm>

namespace fosdat::rtf
{

namespace
{

// Gives `target` the text of one paragraph, from `at` to `end`, in the
// runs' formats, with the pictures that stand in it.
class PartWriter
{
public:
    PartWriter(const ContentRecord &record, PartDocument &part, CursorTarget &target,
               qsizetype start)
        : m_record(record), m_part(part), m_target(target),
          m_run(std::upper_bound(
                    record.runs.cbegin(), record.runs.cend(), start,
                    [](qsizetype at, const ContentRecord::Run &run) { return at < run.start; }) -
                1),
          m_picture(std::lower_bound(record.pictures.cbegin(), record.pictures.cend(), start,
                                     [](const ContentRecord::PlacedPicture &picture, qsizetype at) {
                                         return picture.position < at;
                                     }))
    {
    }

    void writeParagraph(int index)
    {
        const ContentRecord::Paragraph &paragraph = m_record.paragraphs.at(index);
        const TextFormats formats{m_record.charFormats.at(paragraph.chars),
                                  m_record.blockFormats.at(paragraph.block)};
        if (index == m_part.part.first)
            m_target.formatFirstBlock(formats);
        else
            m_target.insertBlock(formats);
        const qsizetype end = m_record.paragraphEnd(index);
        for (qsizetype at = paragraph.start;;) {
            writePicturesAt(at);
            if (at >= end)
                break;
            while (m_run + 1 != m_record.runs.cend() && (m_run + 1)->start <= at)
                ++m_run;
            qsizetype next = end;
            if (m_run + 1 != m_record.runs.cend())
                next = std::min(next, (m_run + 1)->start);
            if (m_picture != m_record.pictures.cend())
                next = std::min(next, m_picture->position);
            m_target.insertText(m_record.text.mid(at, next - at),
                                m_record.charFormats.at(m_run->chars));
            at = next;
        }
    }

private:
    // A picture that does not decode takes no place in the document.
    void writePicturesAt(qsizetype at)
    {
        QTextDocument &document = *m_part.document;
        for (; m_picture != m_record.pictures.cend() && m_picture->position == at; ++m_picture) {
            const int before = document.characterCount();
            m_target.insertPicture(m_picture->picture);
            if (document.characterCount() != before)
                m_part.pictures.append(at);
        }
    }

    const ContentRecord &m_record;
    PartDocument &m_part;
    CursorTarget &m_target;
    QList<ContentRecord::Run>::const_iterator m_run;
    QList<ContentRecord::PlacedPicture>::const_iterator m_picture;
};

} // namespace

// A picture stands before the character at its position.
int PartDocument::documentPosition(qsizetype position) const
{
    const auto after = std::upper_bound(pictures.cbegin(), pictures.cend(), position);
    return int(position - start + (after - pictures.cbegin()));
}

qsizetype PartDocument::textPosition(int position) const
{
    // The i-th picture shown lies at document position pictures[i] - start + i.
    qsizetype low = 0;
    qsizetype high = pictures.size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (pictures.at(middle) - start + middle < position)
            low = middle + 1;
        else
            high = middle;
    }
    return position - low + start;
}

PartDocument buildPart(const ContentRecord &record, ContentRecord::Part part)
{
    PartDocument built;
    built.part = part;
    built.start = record.paragraphs.at(part.first).start;
    built.document = std::make_unique<QTextDocument>();
    built.document->setUndoRedoEnabled(false); // nothing of the building is to be undone
    {
        CursorTarget target(*built.document);
        if (record.tabDistance)
            target.setTabDistance(*record.tabDistance);
        PartWriter writer(record, built, target, built.start);
        for (int index = part.first; index < part.end; ++index)
            writer.writeParagraph(index);
        target.finish();
    }
    built.document->setUndoRedoEnabled(true);
    return built;
}

std::unique_ptr<QTextDocument> buildWhole(const ContentRecord &record)
{
    return std::move(buildPart(record, {0, int(record.paragraphs.size())}).document);
}

} // namespace fosdat::rtf
