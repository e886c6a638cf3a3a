#include "TaxonTree.h"

#include "GroupTable.h"
#include "Measures.h"
#include "TaxonModel.h"

#include <QAction>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <limits>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// A node's number of genera and the time its placed genera span.
struct Tally {
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

} // namespace

TaxonTree::TaxonTree(QWidget *parent)
    : QWidget(parent), m_filter(new QLineEdit(this)), m_view(new QTreeView(this)),
      m_model(new TaxonModel(this))
{
    setObjectName(u"taxonTree"_s);
    m_filter->setObjectName(u"taxonFilter"_s);
    m_filter->setPlaceholderText(u"Группа, класс, отряд, семейство или род"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->setAccessibleName(u"Найти таксон"_s);
    m_view->setObjectName(u"taxonList"_s);
    m_view->setModel(m_model);
    m_view->setUniformRowHeights(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAllColumnsShowFocus(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_view, 1);

    connect(m_filter, &QLineEdit::textChanged, this, &TaxonTree::filter);
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

// The nodes whose names hold the text, opened to show them all when they
// are few enough to read.
void TaxonTree::filter(const QString &text)
{
    constexpr int Opened = 300;
    m_model->setFilter(text);
    if (!text.isEmpty() && m_model->shownCount() <= Opened)
        m_view->expandAll();
}

void TaxonTree::build()
{
    m_built = true;
    QList<TaxonModel::Node> nodes(1); // the root
    QList<Tally> tallies(1);
    if (m_catalogue) {
        const QString unnamed[] = {QString(), u"(класс не указан)"_s, u"(отряд не указан)"_s,
                                   u"(семейство не указано)"_s};
        QHash<QString, int> taxa; // by the names of the path to them
        const QList<strata::GenusEntry> &entries = m_catalogue->entries;
        for (int i = 0; i < int(entries.size()); ++i) {
            const strata::GenusEntry &genus = entries[i];
            const QString names[] = {genus.group >= 0 && genus.group < int(data::GroupTable.size())
                                         ? data::GroupTable[size_t(genus.group)].caption.toString()
                                         : QString(),
                                     genus.className().toString(), genus.order().toString(),
                                     genus.family().toString()};
            int parent = 0;
            QString path;
            for (int level = TaxonModel::GroupLevel; level <= TaxonModel::FamilyLevel; ++level) {
                const QString name = names[level].isEmpty() ? unnamed[level] : names[level];
                path += name + u'\n';
                int &node = taxa[path];
                if (node == 0) {
                    node = int(nodes.size());
                    nodes.append(
                        TaxonModel::Node{name, TaxonModel::Level(level), -1, parent, 0, {}});
                    tallies.append(Tally{});
                }
                tallies[node].add(genus);
                parent = node;
            }
            Tally own;
            own.add(genus);
            nodes.append(
                {genus.genus().toString(), TaxonModel::GenusLevel, i, parent, 1, own.spanText()});
            tallies.append(own);
        }
    }
    for (qsizetype i = 1; i < nodes.size(); ++i) {
        nodes[i].genera = tallies[i].genera;
        nodes[i].span = tallies[i].spanText();
    }
    m_model->setNodes(std::move(nodes));
    m_view->header()->setStretchLastSection(true);
    m_view->header()->resizeSection(0, 260);
}

// A genus opens; a family or an order lists its genera; a group or a
// class opens or closes as any node does.
void TaxonTree::activate(const QModelIndex &index)
{
    const QModelIndex name = index.siblingAtColumn(0);
    if (name.data(TaxonModel::LevelRole).toInt() == TaxonModel::GenusLevel)
        emit genusActivated(name.data(TaxonModel::EntryRole).toInt());
    else if (const QString taxon = taxonAt(index); !taxon.isEmpty())
        emit taxonActivated(taxon);
}

// A family or an order the catalogue names, not "(семейство не указано)".
QString TaxonTree::taxonAt(const QModelIndex &index) const
{
    const QModelIndex name = index.siblingAtColumn(0);
    const int level = name.data(TaxonModel::LevelRole).toInt();
    if ((level == TaxonModel::FamilyLevel || level == TaxonModel::OrderLevel) &&
        !name.data().toString().startsWith(u'('))
        return name.data().toString();
    return {};
}

} // namespace fosdat::diversity
