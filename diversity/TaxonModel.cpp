#include "TaxonModel.h"

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

TaxonModel::TaxonModel(QObject *parent) : QAbstractItemModel(parent)
{
    setNodes({});
}

void TaxonModel::setNodes(QList<Node> nodes)
{
    beginResetModel();
    m_nodes = std::move(nodes);
    if (m_nodes.isEmpty())
        m_nodes.append(Node{});
    show();
    endResetModel();
}

void TaxonModel::setFilter(const QString &text)
{
    beginResetModel();
    m_filter = text;
    show();
    endResetModel();
}

// A node is shown when its name holds the text, or an ancestor's does (down
// the list: parents come first), or a descendant's does (up the list).
void TaxonModel::show()
{
    const qsizetype count = m_nodes.size();
    QList<char> kept(count, 0);
    for (qsizetype i = 1; i < count; ++i) {
        const Node &node = m_nodes[i];
        kept[i] = m_filter.isEmpty() || kept[node.parent] ||
                  node.name.contains(m_filter, Qt::CaseInsensitive);
    }
    for (qsizetype i = count - 1; i > 0; --i) {
        if (kept[i])
            kept[m_nodes[i].parent] = 1;
    }
    m_shown = QList<QList<int>>(count);
    m_row = QList<int>(count, -1);
    m_shownCount = 0;
    for (int i = 1; i < int(count); ++i) {
        if (!kept[i])
            continue;
        QList<int> &siblings = m_shown[m_nodes[i].parent];
        m_row[i] = int(siblings.size());
        siblings.append(i);
        ++m_shownCount;
    }
}

QModelIndex TaxonModel::index(int row, int column, const QModelIndex &parent) const
{
    const int node = parent.isValid() ? int(parent.internalId()) : 0;
    if (parent.column() > 0 || row < 0 || row >= m_shown[node].size() || column < 0 ||
        column >= columnCount())
        return {};
    return createIndex(row, column, quintptr(m_shown[node][row]));
}

QModelIndex TaxonModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    const int parent = m_nodes[int(child.internalId())].parent;
    return parent <= 0 ? QModelIndex() : createIndex(m_row[parent], 0, quintptr(parent));
}

int TaxonModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(m_shown[parent.isValid() ? int(parent.internalId()) : 0].size());
}

int TaxonModel::columnCount(const QModelIndex &) const
{
    return 3;
}

QVariant TaxonModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Node &node = m_nodes[int(index.internalId())];
    if (role == EntryRole)
        return node.entry;
    if (role == LevelRole)
        return int(node.level);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return node.name;
    case 1:
        return QString::number(node.genera);
    default:
        return node.span;
    }
}

QVariant TaxonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString headers[] = {u"Таксон"_s, u"Родов"_s, u"Время, млн лет"_s};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2)
        return {};
    return headers[section];
}

} // namespace fosdat::diversity
