#include "CatalogueEntries.h"

#include "TimeScale.h"

#include <algorithm>

namespace fosdat::catalogue
{

namespace
{

// The start of the text an entry's parts are views of: its catalogue's.
const QChar *textOf(const strata::GenusEntry &entry)
{
    return entry.view(strata::TextSpan{}).data();
}

} // namespace

CatalogueEntries::CatalogueEntries(CataloguesPtr texts,
                                   std::shared_ptr<const strata::TimeScale> scale)
    : m_texts(std::move(texts)), m_scale(std::move(scale))
{
    QList<strata::CatalogueInput> catalogues;
    for (int group = 0; group < GroupCount; ++group) {
        const CatalogueText &text = m_texts->at(group);
        if (!text.text.isEmpty() && !text.partParagraph)
            catalogues.append({group, text.text}); // shared, not copied
    }
    m_entries = strata::readGenusEntries(catalogues, *m_scale);
    m_lineStarts.reserve(m_entries.size());
    int group = 0;
    for (qsizetype entry = 0; entry < m_entries.size(); ++entry) {
        const strata::GenusEntry &e = m_entries.at(entry);
        while (group < e.group)
            m_groupStarts[std::size_t(++group)] = entry;
        m_lineStarts.append(e.text().data() - textOf(e));
    }
    while (group < GroupCount)
        m_groupStarts[std::size_t(++group)] = m_entries.size();
}

qsizetype CatalogueEntries::positionOf(qsizetype entry, QStringView part) const
{
    return part.isNull() ? -1 : part.data() - textOf(at(entry));
}

qsizetype CatalogueEntries::entryAt(int group, qsizetype position) const
{
    const auto begin = m_lineStarts.cbegin() + first(group);
    const auto after = std::upper_bound(begin, m_lineStarts.cbegin() + end(group), position);
    if (after == begin)
        return -1;
    const qsizetype entry = after - m_lineStarts.cbegin() - 1;
    return position < lineEnd(entry) ? entry : -1;
}

qsizetype CatalogueEntries::firstFrom(int group, qsizetype position) const
{
    const auto begin = m_lineStarts.cbegin();
    return std::lower_bound(begin + first(group), begin + end(group), position) - begin;
}

} // namespace fosdat::catalogue
