#include "NotCountedModel.h"

#include "GenusListModel.h"
#include "Reason.h"

#include <QLocale>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

// A child's internal id is its reason's row plus one; a reason's is 0.

void NotCountedModel::setGroups(std::shared_ptr<const GenusCatalogue> catalogue,
                                QList<strata::ReasonGroup> groups)
{
    beginResetModel();
    m_catalogue = std::move(catalogue);
    m_groups = std::move(groups);
    endResetModel();
}

QString NotCountedModel::title(const strata::ReasonGroup &group)
{
    QString text = strata::describeReason(group.reason, group.code, group.suggestion);
    if (group.code.isEmpty())
        text.remove(u" «»"_s); // a reason that names no code: living, uncertain...
    return u"%1 — %2"_s.arg(text, QLocale(QLocale::Russian).toString(group.entries.size()));
}

int NotCountedModel::entryAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() == 0)
        return -1;
    return m_groups.at(qsizetype(index.internalId() - 1)).entries.value(index.row(), -1);
}

QModelIndex NotCountedModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : 0);
}

QModelIndex NotCountedModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int NotCountedModel::rowCount(const QModelIndex &parent) const
{
    if (!m_catalogue)
        return 0;
    if (!parent.isValid())
        return int(m_groups.size());
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return int(m_groups.at(parent.row()).entries.size());
}

int NotCountedModel::columnCount(const QModelIndex &) const
{
    return entryColumns::Count;
}

QVariant NotCountedModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (index.internalId() == 0)
        return index.column() == 0 ? title(m_groups.at(index.row())) : QVariant();
    return entryColumns::data(m_catalogue->entries.at(entryAt(index)), index.column());
}

QVariant NotCountedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return orientation == Qt::Horizontal && role == Qt::DisplayRole ? entryColumns::header(section)
                                                                    : QVariant();
}

} // namespace fosdat::diversity
