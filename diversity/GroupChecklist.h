#pragma once

#include <QList>
#include <QStringList>
#include <QTreeWidget>

namespace fosdat::diversity
{

// The groups of the catalogue as a checklist: one item for all, below it
// each group, and the parts of a split group (БРАХИОПОДЫ1, БРАХИОПОДЫ2) under
// one item of their own that ticks them together. All are ticked at first.
class GroupChecklist : public QTreeWidget
{
    Q_OBJECT

public:
    explicit GroupChecklist(QWidget *parent = nullptr);

    // Whether each group, by its row in the group table, is ticked.
    QList<bool> checkedGroups() const;
    // What is ticked, for a title: a split group by its common name when all
    // its parts are; empty when everything is.
    QStringList checkedNames() const;
    // The item of a group, or of the parts of a split group, by its caption.
    QTreeWidgetItem *itemNamed(const QString &caption) const;

signals:
    // A tick changed; several come at once when one ticks a group's parts.
    void groupsChanged();
};

} // namespace fosdat::diversity
