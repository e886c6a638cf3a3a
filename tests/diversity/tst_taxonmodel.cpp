// The filter of "Систематика" on a tree made by hand: a name that holds the
// text keeps its path and everything below it, in any letter case and
// alphabet; rows, parents and numbers stay consistent.
#include "TaxonModel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

QList<TaxonModel::Node> tree()
{
    using M = TaxonModel;
    const auto node = [](const QString &name, M::Level level, int parent) {
        return M::Node{name, level, level == M::GenusLevel ? 1 : -1, parent, 1, {}};
    };
    return {
        {},                                              // 0, the root
        node(u"БРАХИОПОДЫ"_s, M::GroupLevel, 0),         // 1
        node(u"Rhynchonellata"_s, M::ClassLevel, 1),     // 2
        node(u"Terebratulida"_s, M::OrderLevel, 2),      // 3
        node(u"Terebratulidae"_s, M::FamilyLevel, 3),    // 4
        node(u"Terebratula"_s, M::GenusLevel, 4),        // 5
        node(u"Magellania"_s, M::GenusLevel, 4),         // 6
        node(u"Rhynchonellida"_s, M::OrderLevel, 2),     // 7
        node(u"Rhynchonellidae"_s, M::FamilyLevel, 7),   // 8
        node(u"Rhynchonella"_s, M::GenusLevel, 8),       // 9
        node(u"БИВАЛЬВИИ"_s, M::GroupLevel, 0),          // 10
        node(u"(класс не указан)"_s, M::ClassLevel, 10), // 11
        node(u"(отряд не указан)"_s, M::OrderLevel, 11), // 12
        node(u"Ostreidae"_s, M::FamilyLevel, 12),        // 13
        node(u"Ostrea"_s, M::GenusLevel, 13),            // 14
        node(u"Magellanostrea"_s, M::GenusLevel, 13),    // 15
    };
}

// Every row shown, as the path of names to it.
QStringList shown(const QAbstractItemModel &model, const QModelIndex &parent = {},
                  const QString &path = {})
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString name = path + index.data().toString();
        if (model.parent(index) != parent)
            return {u"wrong parent of "_s + name};
        rows << name << shown(model, index, name + u'/');
    }
    return rows;
}

} // namespace

class TestTaxonModel : public QObject
{
    Q_OBJECT

private slots:
    void filterKeepsPathsAndBelow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QString brach = u"БРАХИОПОДЫ/Rhynchonellata"_s;
        const QString tere = brach + u"/Terebratulida"_s;
        QTest::newRow("a genus") << u"MAGELLANIA"_s
                                 << QStringList{u"БРАХИОПОДЫ"_s, brach, tere,
                                                tere + u"/Terebratulidae"_s,
                                                tere + u"/Terebratulidae/Magellania"_s};
        QTest::newRow("an order, what is below it")
            << u"ratulida"_s
            << QStringList{u"БРАХИОПОДЫ"_s,
                           brach,
                           tere,
                           tere + u"/Terebratulidae"_s,
                           tere + u"/Terebratulidae/Terebratula"_s,
                           tere + u"/Terebratulidae/Magellania"_s};
        QTest::newRow("in two groups") << u"magellan"_s
                                       << QStringList{u"БРАХИОПОДЫ"_s,
                                                      brach,
                                                      tere,
                                                      tere + u"/Terebratulidae"_s,
                                                      tere + u"/Terebratulidae/Magellania"_s,
                                                      u"БИВАЛЬВИИ"_s,
                                                      u"БИВАЛЬВИИ/(класс не указан)"_s,
                                                      u"БИВАЛЬВИИ/(класс не указан)/(отряд не "
                                                      u"указан)"_s,
                                                      u"БИВАЛЬВИИ/(класс не указан)/(отряд не "
                                                      u"указан)/Ostreidae"_s,
                                                      u"БИВАЛЬВИИ/(класс не указан)/(отряд не "
                                                      u"указан)/Ostreidae/Magellanostrea"_s};
        QTest::newRow("a group in lower case, Cyrillic")
            << u"бивальвии"_s
            << QStringList{
                   u"БИВАЛЬВИИ"_s,
                   u"БИВАЛЬВИИ/(класс не указан)"_s,
                   u"БИВАЛЬВИИ/(класс не указан)/(отряд не указан)"_s,
                   u"БИВАЛЬВИИ/(класс не указан)/(отряд не указан)/Ostreidae"_s,
                   u"БИВАЛЬВИИ/(класс не указан)/(отряд не указан)/Ostreidae/Ostrea"_s,
                   u"БИВАЛЬВИИ/(класс не указан)/(отряд не указан)/Ostreidae/Magellanostrea"_s};
        QTest::newRow("nothing") << u"zzz"_s << QStringList{};
    }
    void filterKeepsPathsAndBelow()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        TaxonModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setNodes(tree());
        QCOMPARE(shown(model).size(), 15); // every node but the root
        model.setFilter(text);
        QCOMPARE(shown(model), rows);
        QCOMPARE(model.shownCount(), rows.size());
        model.setFilter({});
        QCOMPARE(shown(model).size(), 15);
    }
};

QTEST_MAIN(TestTaxonModel)
#include "tst_taxonmodel.moc"
