#include "RtfRecord.h"

#include "RtfDocumentBuilder.h"

#include <QHash>
#include <algorithm>

namespace fosdat::rtf
{

size_t qHash(const CharFormat &format, size_t seed = 0)
{
    return qHashMulti(seed, format.family, format.halfPoints, format.foreground, format.background,
                      int(format.vertical), int(format.capitals), format.bold, format.italic,
                      format.underline, format.strike, format.wordBreak);
}

size_t qHash(const BlockFormat &format, size_t seed = 0)
{
    seed = qHashMulti(seed, format.leftIndent, format.rightIndent, format.firstLineIndent,
                      format.spaceBefore, format.spaceAfter, int(format.alignment), format.rule);
    for (const TabStop &stop : format.tabStops)
        seed = qHashMulti(seed, stop.position, int(stop.kind));
    return seed;
}

namespace
{

// Each distinct format once, by its index.
template <typename Format> class FormatTable
{
public:
    explicit FormatTable(QList<Format> &formats) : m_formats(formats) {}

    int indexOf(const Format &format)
    {
        if (!m_formats.isEmpty() && m_formats.at(m_last) == format)
            return m_last;
        auto found = m_indexes.constFind(format);
        if (found == m_indexes.cend()) {
            found = m_indexes.insert(format, int(m_formats.size()));
            m_formats.append(format);
        }
        m_last = *found;
        return m_last;
    }

private:
    QList<Format> &m_formats;
    QHash<Format, int> m_indexes;
    int m_last = 0;
};

class RecordTarget final : public ContentTarget
{
public:
    explicit RecordTarget(ContentRecord &record)
        : m_record(record), m_chars(record.charFormats), m_blocks(record.blockFormats)
    {
    }

    void formatFirstBlock(const TextFormats &formats) override
    {
        if (m_record.paragraphs.isEmpty())
            m_record.paragraphs.append(ContentRecord::Paragraph());
        setFormats(m_record.paragraphs.last(), formats);
    }
    void setBlockFormat(const BlockFormat &format) override
    {
        m_record.paragraphs.last().block = m_blocks.indexOf(format);
    }
    void insertBlock(const TextFormats &formats) override
    {
        m_record.text += u'\n';
        beginParagraph(m_record.text.size(), formats);
    }
    // The units after the break move one place on, past the new '\n'; so do
    // the runs and pictures among them.
    void splitBlock(qsizetype units, const TextFormats &formats) override
    {
        const qsizetype at = m_record.text.size() - units;
        m_record.text.insert(at, u'\n');
        for (auto run = m_record.runs.rbegin(); run != m_record.runs.rend() && run->start >= at;
             ++run)
            ++run->start;
        for (auto picture = m_record.pictures.rbegin();
             picture != m_record.pictures.rend() && picture->position >= at; ++picture)
            ++picture->position;
        beginParagraph(at + 1, formats);
    }
    void insertText(const QString &text, const CharFormat &format) override
    {
        const int chars = m_chars.indexOf(format);
        if (m_record.runs.isEmpty() || m_record.runs.last().chars != chars)
            m_record.runs.append({m_record.text.size(), chars});
        m_record.text += text;
    }
    void insertPicture(const Picture &picture) override
    {
        m_record.pictures.append({m_record.text.size(), picture});
    }
    void setTabDistance(qreal pixels) override { m_record.tabDistance = pixels; }
    void placeParagraph(qreal top) override
    {
        if (m_record.paragraphs.isEmpty())
            return;
        // Called once more at the end, with the whole height.
        if (m_placed < m_record.paragraphs.size())
            m_record.paragraphs[m_placed++].top = top;
        else
            m_record.height = top;
    }

private:
    void beginParagraph(qsizetype start, const TextFormats &formats)
    {
        ContentRecord::Paragraph paragraph;
        paragraph.start = start;
        setFormats(paragraph, formats);
        m_record.paragraphs.append(paragraph);
    }
    void setFormats(ContentRecord::Paragraph &paragraph, const TextFormats &formats)
    {
        paragraph.block = m_blocks.indexOf(formats.block);
        paragraph.chars = m_chars.indexOf(formats.chars);
    }

    ContentRecord &m_record;
    FormatTable<CharFormat> m_chars;
    FormatTable<BlockFormat> m_blocks;
    qsizetype m_placed = 0; // paragraphs given their top
};

} // namespace

int ContentRecord::paragraphAt(qsizetype position) const
{
    const auto after = std::upper_bound(
        paragraphs.cbegin(), paragraphs.cend(), position,
        [](qsizetype at, const Paragraph &paragraph) { return at < paragraph.start; });
    return std::max(int(after - paragraphs.cbegin()) - 1, 0);
}

qsizetype ContentRecord::paragraphEnd(int index) const
{
    return index + 1 < paragraphs.size() ? paragraphs.at(index + 1).start - 1 : text.size();
}

qsizetype ContentRecord::startOf(int index) const
{
    return index < paragraphs.size() ? paragraphs.at(index).start : text.size() + 1;
}

qreal ContentRecord::topOf(int index) const
{
    return index < paragraphs.size() ? paragraphs.at(index).top : height;
}

// Both the starts and the tops only grow, so the bounds are found by halving.
int ContentRecord::firstWithin(int end, qsizetype characters, qreal height) const
{
    int low = 0;
    int high = end;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (startOf(end) - startOf(middle) <= characters && topOf(end) - topOf(middle) <= height)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int ContentRecord::endWithin(int first, qsizetype characters, qreal height) const
{
    int low = first;
    int high = int(paragraphs.size());
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (startOf(middle) - startOf(first) <= characters &&
            topOf(middle) - topOf(first) <= height)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

ContentRecord::Part ContentRecord::partAround(int paragraph, qsizetype characters,
                                              qreal height) const
{
    const int count = int(paragraphs.size());
    paragraph = std::clamp(paragraph, 0, count - 1);
    Part part;
    part.first = std::min(firstWithin(paragraph, characters / 3, height / 3), paragraph);
    part.end = std::max(endWithin(part.first, characters, height), paragraph + 1);
    if (part.end == count)
        part.first = std::min(firstWithin(count, characters, height), part.first);
    return part;
}

namespace
{

// Reads `bytes` into a record, `goOn` asked now and then with the record as
// far as it is read and the bytes read so far.
using RecordProgress = std::function<bool(const ContentRecord &, qsizetype bytesRead)>;

std::optional<ContentRecord> readInto(QByteArrayView bytes, const RecordProgress &goOn)
{
    const std::optional<QByteArrayView> rtf = rtfStart(bytes);
    if (!rtf)
        return std::nullopt;
    ContentRecord record;
    RecordTarget target(record);
    const qsizetype skipped = rtf->data() - bytes.data();
    record.counts = readContent(
        *rtf, target, std::nullopt,
        goOn ? ReadProgress([&](qsizetype read) { return goOn(record, skipped + read); })
             : ReadProgress());
    // An empty document has one empty paragraph in the plain formats.
    if (record.charFormats.isEmpty())
        record.charFormats.append(CharFormat());
    if (record.blockFormats.isEmpty())
        record.blockFormats.append(BlockFormat());
    if (record.paragraphs.isEmpty())
        record.paragraphs.append(ContentRecord::Paragraph());
    if (record.runs.isEmpty())
        record.runs.append({0, record.paragraphs.first().chars});
    return record;
}

// Keeps the first `count` paragraphs of `record` and what lies in them.
void keepParagraphs(ContentRecord &record, int count)
{
    const qsizetype end = record.paragraphEnd(count - 1);
    record.height = record.topOf(count);
    record.paragraphs.resize(count);
    record.text.truncate(end);
    while (record.runs.size() > 1 && record.runs.last().start >= end)
        record.runs.removeLast();
    // A picture at `end` stands at the end of the last paragraph kept.
    while (!record.pictures.isEmpty() && record.pictures.last().position > end)
        record.pictures.removeLast();
}

} // namespace

std::optional<ContentRecord> readRecord(QByteArrayView bytes, const ReadProgress &progress)
{
    if (!progress)
        return readInto(bytes, {});
    return readInto(bytes, [&](const ContentRecord &, qsizetype read) { return progress(read); });
}

// A paragraph is final once the next has begun, and footnotes are written
// after the text once the reading ends: so the reading stops with the text
// past `characters`, and keeps what lay in them of the paragraphs that had
// begun.
std::optional<RecordStart> readRecordStart(QByteArrayView bytes, qsizetype characters)
{
    int begun = -1; // paragraphs begun when the reading stopped
    std::optional<ContentRecord> record =
        readInto(bytes, [&](const ContentRecord &reading, qsizetype) {
            if (reading.text.size() <= characters)
                return true;
            begun = int(reading.paragraphs.size());
            return false;
        });
    if (!record)
        return std::nullopt;
    if (begun < 0)
        return RecordStart{std::move(*record), true};
    int kept = 0;
    while (kept + 1 < begun && (kept == 0 || record->paragraphEnd(kept) <= characters))
        ++kept;
    if (kept == 0)
        return std::nullopt;
    keepParagraphs(*record, kept);
    return RecordStart{std::move(*record), false};
}

} // namespace fosdat::rtf
