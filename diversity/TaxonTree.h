#pragma once

#include "GenusCatalogue.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QModelIndex;
class QTreeView;

namespace fosdat::diversity
{

class TaxonModel;

// "Систематика": the catalogue's genera as a tree, group, class, order,
// family, genus, each node with its number of genera and the time its
// placed genera span, made when it is first shown after new entries came.
// Typing in its field keeps the nodes whose name holds the text, with their
// ancestors and descendants. A genus asks to be opened in the catalogue, a
// family or an order to have its genera listed, or, from its context menu,
// charted.
class TaxonTree : public QWidget
{
    Q_OBJECT

public:
    explicit TaxonTree(QWidget *parent = nullptr);

    void setCatalogue(std::shared_ptr<const GenusCatalogue> catalogue);

signals:
    // `entry` indexes the catalogue's entries.
    void genusActivated(int entry);
    void taxonActivated(const QString &name);
    // A family or an order to be shown as a range chart of its genera.
    void taxonCharted(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void filter(const QString &text);
    void activate(const QModelIndex &index);
    // The name of the family or order at `index`, or nothing.
    QString taxonAt(const QModelIndex &index) const;

    QLineEdit *m_filter;
    QTreeView *m_view;
    TaxonModel *m_model;
    std::shared_ptr<const GenusCatalogue> m_catalogue;
    bool m_built = false;
};

} // namespace fosdat::diversity
