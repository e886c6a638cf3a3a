#pragma once

#include "GenusCatalogue.h"

#include <QAbstractTableModel>
#include <memory>

namespace fosdat::diversity
{

// What a list shows of one genus entry: its name, its group and its range as
// written.
namespace entryColumns
{
constexpr int Count = 3;
QVariant header(int column);
QVariant data(const strata::GenusEntry &entry, int column);
} // namespace entryColumns

// The genera behind one count: the entries, by their index in the catalogue.
class GenusListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setGenera(std::shared_ptr<const GenusCatalogue> catalogue, QList<int> entries);
    const QList<int> &entries() const { return m_entries; }
    // The entry a row shows.
    int entryAt(int row) const { return m_entries.value(row, -1); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const GenusCatalogue> m_catalogue;
    QList<int> m_entries;
};

} // namespace fosdat::diversity
