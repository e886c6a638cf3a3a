#include "SearchResultsModel.h"

#include <algorithm>

void SearchResultsModel::clear()
{
    if (m_rows == 0)
        return;
    beginResetModel();
    m_sections = {};
    m_rows = 0;
    endResetModel();
}

void SearchResultsModel::append(const fosdat::SearchResults &batch)
{
    if (batch.matches.isEmpty())
        return;
    const size_t rank = std::min(size_t(batch.rank), m_sections.size() - 1);
    int first = 0;
    for (size_t before = 0; before <= rank; ++before)
        first += m_sections[before].rows;
    Section &section = m_sections[rank];
    beginInsertRows({}, first, first + int(batch.matches.size()) - 1);
    section.batches.append(batch);
    section.firstRows.append(section.rows);
    section.rows += int(batch.matches.size());
    m_rows += int(batch.matches.size());
    endInsertRows();
}

SearchResultsModel::Row SearchResultsModel::rowAt(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    for (const Section &section : m_sections) {
        if (row >= section.rows) {
            row -= section.rows;
            continue;
        }
        const auto after =
            std::upper_bound(section.firstRows.cbegin(), section.firstRows.cend(), row);
        const qsizetype batch = after - section.firstRows.cbegin() - 1;
        const fosdat::SearchResults &results = section.batches.at(batch);
        return {&results, &results.matches.at(row - section.firstRows.at(batch))};
    }
    return {};
}

fosdat::SearchResultPlace SearchResultsModel::place(int row) const
{
    const Row found = rowAt(row);
    if (!found.batch)
        return {};
    return {found.batch->group, found.match->paragraph, found.match->offset,
            found.batch->matchLength, found.match->line};
}

fosdat::ResultLine SearchResultsModel::resultLine(int row) const
{
    const Row found = rowAt(row);
    if (!found.batch)
        return {};
    return {found.batch->caption, found.match->line, found.batch->entries, found.match->entry};
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    const Row found = rowAt(index.row());
    if (!found.batch)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return found.batch->caption + QStringLiteral(": ") + found.match->line.left(500);
    case CaptionRole:
        return found.batch->caption;
    case LineRole:
        return found.match->line;
    case MatchStartRole:
        return found.match->offset;
    case MatchLengthRole:
        return found.batch->matchLength;
    case GenusEndRole:
        return found.match->genusEnd;
    default:
        return {};
    }
}
