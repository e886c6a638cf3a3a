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

qsizetype lineStartOf(const strata::GenusEntry &entry)
{
    return entry.text().data() - textOf(entry);
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
    for (int group = 1; group <= GroupCount; ++group) {
        m_groupStarts[std::size_t(group)] =
            std::partition_point(m_entries.cbegin(), m_entries.cend(),
                                 [&](const strata::GenusEntry &e) { return e.group < group; }) -
            m_entries.cbegin();
    }
}

qsizetype CatalogueEntries::lineStart(qsizetype entry) const
{
    return lineStartOf(at(entry));
}

qsizetype CatalogueEntries::positionOf(qsizetype entry, QStringView part) const
{
    return part.isNull() ? -1 : part.data() - textOf(at(entry));
}

qsizetype CatalogueEntries::entryAt(int group, qsizetype position) const
{
    // The entries of a group stand in the order of their lines.
    const qsizetype after = firstFrom(group, position + 1);
    if (after == first(group))
        return -1;
    return position < lineEnd(after - 1) ? after - 1 : -1;
}

qsizetype CatalogueEntries::firstFrom(int group, qsizetype position) const
{
    const auto begin = m_entries.cbegin();
    return std::partition_point(
               begin + first(group), begin + end(group),
               [&](const strata::GenusEntry &e) { return lineStartOf(e) < position; }) -
           begin;
}

} // namespace fosdat::catalogue
