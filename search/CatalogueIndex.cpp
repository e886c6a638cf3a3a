#include "CatalogueIndex.h"

namespace fosdat
{

namespace
{

const std::shared_ptr<const CatalogueIndex::Text> &noText()
{
    static const auto none = std::make_shared<const CatalogueIndex::Text>();
    return none;
}

} // namespace

void CatalogueIndex::update(catalogue::CataloguesPtr catalogues)
{
    if (catalogues == m_catalogues)
        return;
    for (int group = 0; group < GroupCount; ++group) {
        const catalogue::CatalogueText &text = catalogues->at(group);
        std::shared_ptr<const Text> &held = m_texts[std::size_t(group)];
        if (!held || held->generation != text.generation)
            held = indexed(text);
    }
    m_catalogues = std::move(catalogues);
}

std::shared_ptr<const CatalogueIndex::Text>
CatalogueIndex::indexed(const catalogue::CatalogueText &text)
{
    auto made = std::make_shared<Text>();
    made->bytes = ByteText(text.text);
    made->generation = text.generation;
    const qsizetype size = made->bytes.size();
    int count = 0;
    for (qsizetype from = 0; from < size; from += CountStride) {
        made->paragraphCounts.append(count);
        count += int(made->bytes.paragraphEnds(from, std::min(from + CountStride, size)));
    }
    made->paragraphCounts.squeeze();
    return made;
}

CatalogueIndex::Bytes CatalogueIndex::bytes() const
{
    Bytes bytes;
    for (int group = 0; group < GroupCount; ++group) {
        const std::shared_ptr<const Text> &held = text(group) ? text(group) : noText();
        bytes[std::size_t(group)] = {held, &held->bytes}; // kept alive with its text
    }
    return bytes;
}

CatalogueIndex::Scan::Scan(const CatalogueIndex &index, int group, const TextMatcher &matcher)
    : m_text(index.text(group) ? index.text(group) : noText()), m_finder(m_text->bytes, matcher),
      m_length(matcher.length())
{
}

qsizetype CatalogueIndex::Scan::next()
{
    if (m_from < 0)
        return -1;
    const qsizetype found = m_finder.indexIn(m_from);
    m_from = found < 0 ? -1 : found + m_length;
    return found;
}

CatalogueIndex::Paragraphs::Paragraphs(const CatalogueIndex &index, int group)
    : m_text(index.text(group) ? index.text(group) : noText()),
      m_characters(index.catalogues()->at(group).text)
{
}

const CatalogueIndex::Paragraphs::Paragraph &CatalogueIndex::Paragraphs::at(qsizetype position)
{
    if (position >= m_current.start && position <= m_current.end)
        return m_current;
    const ByteText &bytes = m_text->bytes;
    // Onwards from the paragraph before, unless the checkpoints are nearer.
    const bool near =
        m_current.number >= 0 && position > m_current.end && position - m_current.end < CountStride;
    if (near) {
        m_current.number += int(bytes.paragraphEnds(m_current.end, position));
    } else {
        const qsizetype stretch = position / CountStride;
        m_current.number = stretch < m_text->paragraphCounts.size()
                               ? m_text->paragraphCounts.at(stretch) +
                                     int(bytes.paragraphEnds(stretch * CountStride, position))
                               : 0;
    }
    m_current.start = bytes.paragraphEndBefore(position) + 1;
    m_current.end = bytes.paragraphEndFrom(position);
    m_current.text = m_characters.mid(m_current.start, m_current.end - m_current.start);
    return m_current;
}

} // namespace fosdat
