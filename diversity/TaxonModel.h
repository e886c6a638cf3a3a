#pragma once

#include <QAbstractItemModel>
#include <QList>
#include <QString>

namespace fosdat::diversity
{

// The taxa of "Систематика" as a tree model: group, class, order, family,
// genus, each row its name, its number of genera and the time they span.
// A filter keeps the rows whose name holds a text in any letter case, with
// the path to them and all below them. The nodes stand in one list, and a
// filter marks them in one pass down and one up, so that a keystroke costs
// a comparison a node and the rows the view shows.
class TaxonModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Level { GroupLevel, ClassLevel, OrderLevel, FamilyLevel, GenusLevel };
    static constexpr int EntryRole = Qt::UserRole;     // a genus's entry; -1 for a taxon
    static constexpr int LevelRole = Qt::UserRole + 1; // its Level

    struct Node {
        QString name;
        Level level = GroupLevel;
        int entry = -1;
        int parent = -1; // the root's children: 0
        int genera = 0;
        QString span;
    };

    explicit TaxonModel(QObject *parent = nullptr);

    // The nodes, each after its parent; node 0 the root, none of its own.
    void setNodes(QList<Node> nodes);
    void setFilter(const QString &text);
    // How many nodes the filter keeps.
    int shownCount() const { return m_shownCount; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void show();

    QList<Node> m_nodes;
    QString m_filter;
    QList<QList<int>> m_shown; // by node: its children shown
    QList<int> m_row;          // by node: its row among them
    int m_shownCount = 0;
};

} // namespace fosdat::diversity
