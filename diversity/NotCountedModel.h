#pragma once

#include "GenusCatalogue.h"
#include "StageCounts.h"

#include <QAbstractItemModel>
#include <memory>

namespace fosdat::diversity
{

// The entries that were not counted, under one row for each reason and code
// ("неизвестный ярус «Xyzz» — 12"), each entry a row below it.
class NotCountedModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    void setGroups(std::shared_ptr<const GenusCatalogue> catalogue,
                   QList<strata::ReasonGroup> groups);
    // The entry a row shows; -1 for a reason's row.
    int entryAt(const QModelIndex &index) const;
    // The reason's row: what it is, with its code, and how many entries it holds.
    static QString title(const strata::ReasonGroup &group);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const GenusCatalogue> m_catalogue;
    QList<strata::ReasonGroup> m_groups;
};

} // namespace fosdat::diversity
