#include "GenusListModel.h"

#include "GroupTable.h"

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

QVariant entryColumns::header(int column)
{
    static const QStringList names{u"Род"_s, u"Группа"_s, u"Диапазон"_s};
    return names.value(column);
}

QVariant entryColumns::data(const strata::GenusEntry &entry, int column)
{
    switch (column) {
    case 0:
        return entry.genus().toString();
    case 1:
        return entry.group >= 0 && entry.group < int(data::GroupTable.size())
                   ? data::GroupTable[size_t(entry.group)].caption.toString()
                   : QString();
    case 2:
        return entry.range().toString();
    }
    return {};
}

void GenusListModel::setGenera(std::shared_ptr<const GenusCatalogue> catalogue, QList<int> entries)
{
    beginResetModel();
    m_catalogue = std::move(catalogue);
    m_entries = std::move(entries);
    endResetModel();
}

int GenusListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_catalogue ? 0 : int(m_entries.size());
}

int GenusListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : entryColumns::Count;
}

QVariant GenusListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return entryColumns::data(m_catalogue->entries.at(m_entries.at(index.row())), index.column());
}

QVariant GenusListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return orientation == Qt::Horizontal && role == Qt::DisplayRole ? entryColumns::header(section)
                                                                    : QVariant();
}

} // namespace fosdat::diversity
