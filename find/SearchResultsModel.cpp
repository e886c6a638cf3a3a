#include "SearchResultsModel.h"

#include <algorithm>

namespace
{

// A paragraph can run to thousands of characters; the row shows the match
// with as much of its paragraph around it as fits.
constexpr int ContextShown = 300;
const QChar Ellipsis(0x2026);

struct ShownLine {
    QString text;
    int matchStart = 0;
};

ShownLine shownLine(const SearchMatch &match)
{
    const int from = std::max(0, match.offset - ContextShown);
    QString text = match.line.mid(from, 2 * ContextShown);
    if (from > 0)
        text.prepend(Ellipsis);
    // Tabs and line breaks inside the paragraph would not keep to one row.
    for (QChar &c : text) {
        if (c == u'\t' || c == QChar::LineSeparator)
            c = u' ';
    }
    return {text, match.offset - from + (from > 0 ? 1 : 0)};
}

} // namespace

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

void SearchResultsModel::append(const SearchResults &batch)
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
    const SearchResults &results = m_batches.at(batch);
    return {&results, &results.matches.at(row - m_firstRows.at(batch))};
}

SearchResultPlace SearchResultsModel::place(int row) const
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
        return found.batch->caption + QStringLiteral(": ") + shownLine(*found.match).text;
    case CaptionRole:
        return found.batch->caption;
    case LineRole:
        return shownLine(*found.match).text;
    case MatchStartRole:
        return shownLine(*found.match).matchStart;
    case MatchLengthRole:
        return found.batch->matchLength;
    default:
        return {};
    }
}
