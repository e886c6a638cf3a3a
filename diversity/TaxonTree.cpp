#include "TaxonTree.h"

#include "GroupTable.h"
#include "Measures.h"

#include <QAction>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <limits>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

enum Level { GroupLevel, ClassLevel, OrderLevel, FamilyLevel, GenusLevel };
constexpr int EntryRole = Qt::UserRole;     // a genus's entry; -1 for a taxon
constexpr int LevelRole = Qt::UserRole + 1; // its Level

// A node's number of genera and the time its placed genera span.
struct Tally {
    QStandardItem *count = nullptr;
    QStandardItem *span = nullptr;
    int genera = 0;
    double base = -std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();

    void add(const strata::GenusEntry &genus)
    {
        ++genera;
        if (!genus.placement.isPlaced())
            return;
        base = std::max(base, genus.placement.base);
        top = std::min(top, genus.placement.top);
    }
    QString spanText() const
    {
        return base < top ? QString() : u"%1–%2"_s.arg(formatAge(base), formatAge(top));
    }
};

QList<QStandardItem *> row(const QString &name, Level level, int entry)
{
    auto *item = new QStandardItem(name);
    item->setData(entry, EntryRole);
    item->setData(level, LevelRole);
    auto *count = new QStandardItem;
    count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return {item, count, new QStandardItem};
}

} // namespace

// Keeps the rows whose name holds the text, in any letter case, compared as
// text: a regular expression made of it (the proxy's own way) costs an
// allocation a row, and a keystroke asks every row of the tree.
class TaxonNameFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString &text)
    {
        m_text = text;
        invalidateRowsFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        return m_text.isEmpty() || sourceModel()
                                       ->index(row, 0, parent)
                                       .data()
                                       .toString()
                                       .contains(m_text, Qt::CaseInsensitive);
    }

private:
    QString m_text;
};

TaxonTree::TaxonTree(QWidget *parent)
    : QWidget(parent), m_filter(new QLineEdit(this)), m_view(new QTreeView(this)),
      m_model(new QStandardItemModel(this)), m_proxy(new TaxonNameFilter(this))
{
    setObjectName(u"taxonTree"_s);
    m_filter->setObjectName(u"taxonFilter"_s);
    m_filter->setPlaceholderText(u"Группа, класс, отряд, семейство или род"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->setAccessibleName(u"Найти таксон"_s);
    m_proxy->setSourceModel(m_model);
    m_proxy->setRecursiveFilteringEnabled(true);
    m_proxy->setAutoAcceptChildRows(true);
    m_view->setObjectName(u"taxonList"_s);
    m_view->setModel(m_proxy);
    m_view->setUniformRowHeights(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAllColumnsShowFocus(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_view, 1);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &TaxonNameFilter::setText);
    connect(m_view, &QTreeView::activated, this, &TaxonTree::activate);
    auto *chart = new QAction(u"Диаграмма распространения"_s, m_view);
    chart->setObjectName(u"chartTaxon"_s);
    m_view->addAction(chart);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(chart, &QAction::triggered, this, [this] {
        if (const QString name = taxonAt(m_view->currentIndex()); !name.isEmpty())
            emit taxonCharted(name);
    });
}

void TaxonTree::setCatalogue(std::shared_ptr<const GenusCatalogue> catalogue)
{
    m_catalogue = std::move(catalogue);
    m_built = false;
    if (isVisible())
        build();
}

void TaxonTree::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_built)
        build();
}

void TaxonTree::build()
{
    m_built = true;
    m_model->clear();
    m_model->setHorizontalHeaderLabels({u"Таксон"_s, u"Родов"_s, u"Время, млн лет"_s});
    if (!m_catalogue)
        return;
    const QString unnamed[] = {QString(), u"(класс не указан)"_s, u"(отряд не указан)"_s,
                               u"(семейство не указано)"_s};
    QHash<QString, QStandardItem *> nodes; // by the names of the path to them
    QHash<QStandardItem *, Tally> tallies;
    const QList<strata::GenusEntry> &entries = m_catalogue->entries;
    for (int i = 0; i < int(entries.size()); ++i) {
        const strata::GenusEntry &genus = entries[i];
        const QString names[] = {genus.group >= 0 && genus.group < int(data::GroupTable.size())
                                     ? data::GroupTable[size_t(genus.group)].caption.toString()
                                     : QString(),
                                 genus.className().toString(), genus.order().toString(),
                                 genus.family().toString()};
        QStandardItem *parent = m_model->invisibleRootItem();
        QString path;
        for (int level = GroupLevel; level <= FamilyLevel; ++level) {
            const QString name = names[level].isEmpty() ? unnamed[level] : names[level];
            path += name + u'\n';
            QStandardItem *&node = nodes[path];
            if (!node) {
                const QList<QStandardItem *> cells = row(name, Level(level), -1);
                parent->appendRow(cells);
                node = cells[0];
                tallies[node] = {cells[1], cells[2]};
            }
            tallies[node].add(genus);
            parent = node;
        }
        QList<QStandardItem *> cells = row(genus.genus().toString(), GenusLevel, i);
        Tally own{cells[1], cells[2]};
        own.add(genus);
        cells[1]->setText(u"1"_s);
        cells[2]->setText(own.spanText());
        parent->appendRow(cells);
    }
    for (auto it = tallies.cbegin(); it != tallies.cend(); ++it) {
        it->count->setText(QString::number(it->genera));
        it->span->setText(it->spanText());
    }
    m_view->header()->setStretchLastSection(true);
    m_view->header()->resizeSection(0, 260);
}

// A genus opens; a family or an order lists its genera; a group or a
// class opens or closes as any node does.
void TaxonTree::activate(const QModelIndex &index)
{
    const QModelIndex name = m_proxy->mapToSource(index.siblingAtColumn(0));
    if (name.data(LevelRole).toInt() == GenusLevel)
        emit genusActivated(name.data(EntryRole).toInt());
    else if (const QString taxon = taxonAt(index); !taxon.isEmpty())
        emit taxonActivated(taxon);
}

// A family or an order the catalogue names, not "(семейство не указано)".
QString TaxonTree::taxonAt(const QModelIndex &index) const
{
    const QModelIndex name = m_proxy->mapToSource(index.siblingAtColumn(0));
    const int level = name.data(LevelRole).toInt();
    if ((level == FamilyLevel || level == OrderLevel) && !name.data().toString().startsWith(u'('))
        return name.data().toString();
    return {};
}

} // namespace fosdat::diversity
