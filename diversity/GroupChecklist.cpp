#include "GroupChecklist.h"

#include "GroupTable.h"

#include <QHeaderView>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

constexpr int GroupRole = Qt::UserRole; // the group's row; -1 for an item over others

QTreeWidgetItem *addItem(QTreeWidgetItem *parent, const QString &text, int group)
{
    auto *item = new QTreeWidgetItem(parent, {text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                   (group < 0 ? Qt::ItemIsAutoTristate : Qt::NoItemFlags));
    item->setData(0, GroupRole, group);
    item->setCheckState(0, Qt::Checked);
    return item;
}

// "БРАХИОПОДЫ" for "БРАХИОПОДЫ2": the name the parts of a group share.
QString commonName(QStringView caption)
{
    qsizetype end = caption.size();
    while (end > 0 && caption[end - 1].isDigit())
        --end;
    return caption.left(end).toString();
}

} // namespace

GroupChecklist::GroupChecklist(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(u"groupList"_s);
    setAccessibleName(u"Группы"_s);
    setHeaderHidden(true);
    setColumnCount(1);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *all = new QTreeWidgetItem(this, {u"Все группы"_s});
    all->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                  Qt::ItemIsAutoTristate);
    all->setData(0, GroupRole, -1);
    for (int row = 0; row < int(data::GroupTable.size());) {
        const QString caption = data::GroupTable[size_t(row)].caption.toString();
        const QString name = commonName(caption);
        int parts = 1;
        while (row + parts < int(data::GroupTable.size()) &&
               commonName(data::GroupTable[size_t(row + parts)].caption) == name)
            ++parts;
        if (parts == 1) {
            addItem(all, caption, row);
        } else {
            QTreeWidgetItem *split = addItem(all, name, -1);
            for (int part = row; part < row + parts; ++part)
                addItem(split, data::GroupTable[size_t(part)].caption.toString(), part);
        }
        row += parts;
    }
    all->setExpanded(true);
    setCurrentItem(all);
    connect(this, &QTreeWidget::itemChanged, this, &GroupChecklist::groupsChanged);
}

QList<bool> GroupChecklist::checkedGroups() const
{
    QList<bool> checked(qsizetype(data::GroupTable.size()), false);
    for (QTreeWidgetItemIterator it(const_cast<GroupChecklist *>(this)); *it; ++it) {
        const int group = (*it)->data(0, GroupRole).toInt();
        if (group >= 0)
            checked[group] = (*it)->checkState(0) == Qt::Checked;
    }
    return checked;
}

QStringList GroupChecklist::checkedNames() const
{
    const QTreeWidgetItem *all = topLevelItem(0);
    if (all->checkState(0) == Qt::Checked)
        return {};
    QStringList names;
    for (int i = 0; i < all->childCount(); ++i) {
        const QTreeWidgetItem *item = all->child(i);
        if (item->checkState(0) == Qt::Checked) {
            names << item->text(0);
            continue;
        }
        for (int part = 0; part < item->childCount(); ++part) {
            if (item->child(part)->checkState(0) == Qt::Checked)
                names << item->child(part)->text(0);
        }
    }
    return names;
}

QTreeWidgetItem *GroupChecklist::itemNamed(const QString &caption) const
{
    const QList<QTreeWidgetItem *> found =
        findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.constFirst();
}

} // namespace fosdat::diversity
