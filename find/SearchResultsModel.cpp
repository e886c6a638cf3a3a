#include "SearchResultsModel.h"

#include <algorithm>

void SearchResultsModel::clear()
{
    if (m_rows == 0)
        return;
    beginResetModel();
    m_batches.clear();
    m_firstRows.clear();
    m_rows = 0;
    endResetModel();
}

void SearchResultsModel::append(const fosdat::SearchResults &batch)
{
    if (batch.matches.isEmpty())
        return;
    beginInsertRows({}, m_rows, m_rows + int(batch.matches.size()) - 1);
    m_batches.append(batch);
    m_firstRows.append(m_rows);
    m_rows += int(batch.matches.size());
    endInsertRows();
}

SearchResultsModel::Row SearchResultsModel::rowAt(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    const auto after = std::upper_bound(m_firstRows.cbegin(), m_firstRows.cend(), row);
    const qsizetype batch = after - m_firstRows.cbegin() - 1;
    const fosdat::SearchResults &results = m_batches.at(batch);
    return {&results, &results.matches.at(row - m_firstRows.at(batch))};
}

fosdat::SearchResultPlace SearchResultsModel::place(int row) const
{
    const Row found = rowAt(row);
    if (!found.batch)
        return {};
    return {found.batch->group, found.match->paragraph, found.match->offset,
            found.batch->matchLength};
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
    default:
        return {};
    }
}
