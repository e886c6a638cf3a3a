// The diversity window on the generated sample data set, against the truth
// the generator wrote: groups compared as series, and the range chart of
// genera chosen as the user chooses them (an interval's list, rows picked in
// it, a text filter, a family of "Систематика"), charted with "Диаграмма…", and every bar of the
// exported SVG placed where the generator's truth puts its genus; a bar opened with the keyboard
// and with the mouse.
#include "DiversityPlot.h"
#include "DiversityWindow.h"
#include "FigureExport.h"
#include "GroupChecklist.h"
#include "RangeChartView.h"
#include "RangeChartWindow.h"
#include "TimeScale.h"
#include "support/CsvRows.h"
#include "support/SampleTruth.h"
#include "support/SvgShapes.h"
#include "support/WindowCatalogue.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QXmlStreamReader>
#include <functional>
#include <limits>
#include <numeric>

using namespace fosdat;
using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

const QString SampleDir = QStringLiteral(FOSDAT_SAMPLE_DIR);

// The ages a genus's bar must span when counted in the chart's stages: the
// base of its first stage, the top of its last.
struct Span {
    double base, top;
    bool extant, uncertain;
};

} // namespace

class TestWindowTruth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const strata::TimeScale scale = strata::shippedTimeScale();
        QMultiHash<QString, Span> spans;
        QMap<QString, int> families; // in order: the same family each run
        for (const Truth &truth : readTruth(SampleDir + u"/truth/genera.csv"_s)) {
            ++families[truth.family];
            ++m_entriesOfGroup[truth.group];
            const int first = scale.stageIndex(truth.first);
            const int last = scale.stageIndex(truth.last);
            if (first >= 0 && last >= 0 && truth.status == u"counted")
                m_living[truth.group].append({first, last});
            if (first >= 0 && last >= 0)
                spans.insert(truth.genus, {scale.stages()[first].base, scale.stages()[last].top,
                                           truth.extant, truth.uncertain});
        }
        QVERIFY(spans.size() > 30000);
        // A genus of one name only: its bar is its own.
        for (auto i = spans.cbegin(); i != spans.cend(); ++i) {
            if (spans.count(i.key()) == 1)
                m_truth.insert(i.key(), i.value());
        }
        // A family of a few dozen genera, for the text filter.
        for (auto i = families.cbegin(); i != families.cend() && m_family.isEmpty(); ++i) {
            if (i.value() >= 10 && i.value() <= 60 && i.key().endsWith(u"idae"))
                m_family = i.key();
        }
        QVERIFY(!m_family.isEmpty());
        m_window.setCatalogue(windowCatalogue(SampleDir));
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    // Three groups compared, one current and two kept as series; one series
    // taken away; the rest shown as shares of their maxima. Each column of
    // the table written to CSV, and each line of the plot, holds its group's
    // genera per stage as the truth has them.
    void seriesKeepTheirCounts()
    {
        auto *bins = m_window.findChild<QComboBox *>(u"binKind"_s);
        bins->setCurrentIndex(bins->findText(u"ярусы"_s));
        m_window.findChild<QLineEdit *>(u"filterText"_s)->clear();
        auto *groups = m_window.findChild<GroupChecklist *>(u"groupList"_s);
        const auto choose = [&](const QString &group) {
            groups->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
            groups->itemNamed(group)->setCheckState(0, Qt::Checked);
            QTest::qWait(20); // the recount
        };
        auto *add = m_window.findChild<QAction *>(u"addSeries"_s);
        // The current group begins later than those kept.
        choose(u"ГУБКИ"_s);
        add->trigger();
        choose(u"БИВАЛЬВИИ"_s);
        add->trigger();
        choose(u"МШАНКИ"_s);
        QCOMPARE(m_window.seriesCount(), 2);
        checkSeries({u"МШАНКИ"_s, u"ГУБКИ"_s, u"БИВАЛЬВИИ"_s});

        m_window.findChild<QToolButton *>(u"seriesButton"_s)
            ->menu()
            ->findChild<QAction *>(u"removeSeries0"_s)
            ->trigger();
        QCOMPARE(m_window.seriesCount(), 1);
        checkSeries({u"МШАНКИ"_s, u"БИВАЛЬВИИ"_s});

        m_window.findChild<QCheckBox *>(u"shareOfMaximum"_s)->setChecked(true);
        const FigureContent &plotted = m_window.plot()->content();
        for (const auto *values : {&plotted.values, &plotted.series.at(0).values}) {
            double greatest = 0;
            for (const std::optional<double> &value : *values)
                greatest = std::max(greatest, value.value_or(0));
            QCOMPARE(greatest, 1.0);
        }
        m_window.findChild<QCheckBox *>(u"shareOfMaximum"_s)->setChecked(false);
        m_window.findChild<QToolButton *>(u"seriesButton"_s)
            ->menu()
            ->findChild<QAction *>(u"removeAllSeries"_s)
            ->trigger();
        QCOMPARE(m_window.seriesCount(), 0);
        groups->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QTest::qWait(20);
    }

    void barsWhereTheTruthPutsThem_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("the genera of an interval") << u"interval"_s;
        QTest::newRow("rows picked in its list") << u"rows"_s;
        QTest::newRow("a text filter, no interval") << u"filter"_s;
        QTest::newRow("a family of the tree") << u"tree"_s;
    }
    void barsWhereTheTruthPutsThem()
    {
        QFETCH(QString, chosen);
        auto *bins = m_window.findChild<QComboBox *>(u"binKind"_s);
        auto *filter = m_window.findChild<QLineEdit *>(u"filterText"_s);
        auto *table = m_window.findChild<QTableView *>(u"stageTable"_s);
        auto *list = m_window.findChild<QTreeView *>(u"genusList"_s);
        if (m_window.rangeChart())
            m_window.rangeChart()->close();
        // Counted in the chart's stages: the truth's own resolution.
        bins->setCurrentIndex(bins->findText(u"ярусы"_s));
        filter->setText(chosen == u"filter" ? m_family : QString());
        const bool fromTree = chosen == u"tree";
        QTest::qWait(20); // the recount
        QVERIFY(m_window.counts());
        if (chosen != u"filter" && !fromTree) {
            table->setFocus();
            const QModelIndexList camp =
                table->model()->match(table->model()->index(0, 0), Qt::DisplayRole, u"Camp"_s);
            QCOMPARE(camp.size(), 1);
            table->setCurrentIndex(camp.first());
            QVERIFY(list->model()->rowCount() > 50);
        } else {
            table->setCurrentIndex({});
            table->clearSelection();
            QCOMPARE(list->model()->rowCount(), 0);
        }
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        int expected = chosen == u"filter" ? int(m_window.counts()->counted().size())
                                           : list->model()->rowCount();
        if (chosen == u"rows") {
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
            expected = 5;
        }
        if (chosen == u"tree") {
            // Its context menu's item on the family found in "Систематика".
            auto *tabs = m_window.findChild<QTabWidget *>(u"tabs"_s);
            tabs->setCurrentWidget(m_window.findChild<QWidget *>(u"taxonTree"_s));
            QTest::keyClicks(m_window.findChild<QLineEdit *>(u"taxonFilter"_s), m_family);
            auto *tree = m_window.findChild<QTreeView *>(u"taxonList"_s);
            const QModelIndexList family =
                tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, m_family, 1,
                                     Qt::MatchExactly | Qt::MatchRecursive);
            QCOMPARE(family.size(), 1);
            tree->setCurrentIndex(family.first());
            tree->findChild<QAction *>(u"chartTaxon"_s)->trigger();
            expected = int(m_window.counts()->counted().size());
            QVERIFY(expected > 0);
        } else {
            QTest::mouseClick(m_window.findChild<QPushButton *>(u"rangeChartButton"_s),
                              Qt::LeftButton);
        }
        QVERIFY(m_window.rangeChart() && m_window.rangeChart()->isVisible());

        const SvgShapes svg = readSvg(m_window.exportBytes(DiversityExport::RangeSvg));
        QList<SvgText> names;
        for (const SvgText &text : svg.texts) {
            if (m_truth.contains(text.text))
                names.append(text);
        }
        QList<SvgBox> bars;
        for (const SvgBox &box : svg.boxes) {
            if (box.box.height() < 10 && box.box.width() < 5000)
                bars.append(box);
        }
        QCOMPARE(bars.size(), expected);
        QCOMPARE(names.size(), expected);
        // Top down, the n-th name is the n-th bar's. Its ends lie on one line
        // of age against x for every bar: x = a - b·Ma, old on the left.
        const auto byY = [](const auto &a, const auto &b) { return a.y < b.y; };
        std::sort(names.begin(), names.end(), byY);
        std::sort(bars.begin(), bars.end(),
                  [](const SvgBox &a, const SvgBox &b) { return a.box.top() < b.box.top(); });
        QList<std::pair<double, double>> ends; // (Ma, x)
        int dashed = 0;
        int arrows = 0;
        for (qsizetype i = 0; i < names.size(); ++i) {
            QVERIFY2(m_truth.contains(names[i].text), qPrintable(names[i].text));
            const Span span = m_truth.value(names[i].text);
            QVERIFY(std::abs(bars[i].box.center().y() - names[i].y) < RangeChart::RowHeight);
            QCOMPARE(bars[i].dashed, span.uncertain);
            const bool arrow =
                std::any_of(svg.paths.cbegin(), svg.paths.cend(), [&](double middle) {
                    return std::abs(middle - bars[i].box.center().y()) < 1;
                });
            QCOMPARE(arrow, span.extant);
            dashed += bars[i].dashed;
            arrows += arrow;
            if (bars[i].box.width() > 2.5) { // wider than a short range is drawn
                ends.append({span.base, bars[i].box.left()});
                ends.append({span.top, bars[i].box.right()});
            }
        }
        QVERIFY(ends.size() >= 4);
        if (chosen == u"interval")
            QVERIFY(dashed > 0 && arrows > 0);
        const auto [oldest, youngest] = std::minmax_element(
            ends.cbegin(), ends.cend(), [](auto a, auto b) { return a.first > b.first; });
        QVERIFY(oldest->first > youngest->first);
        const double perMa =
            (youngest->second - oldest->second) / (oldest->first - youngest->first);
        QVERIFY(perMa > 0);
        for (const auto &[ma, x] : ends)
            QVERIFY2(std::abs(oldest->second + (oldest->first - ma) * perMa - x) < 0.6,
                     qPrintable(u"%1 Ma at %2"_s.arg(ma).arg(x)));
    }

    // "Систематика" holds every genus entry once: each group's number of
    // genera is the truth's entries of it, and each class's, order's and
    // family's numbers add up to their parent's.
    void treeCountsEveryEntry()
    {
        auto *tabs = m_window.findChild<QTabWidget *>(u"tabs"_s);
        tabs->setCurrentWidget(m_window.findChild<QWidget *>(u"taxonTree"_s));
        m_window.findChild<QLineEdit *>(u"taxonFilter"_s)->clear();
        const QAbstractItemModel *tree = m_window.findChild<QTreeView *>(u"taxonList"_s)->model();
        const auto genera = [&](const QModelIndex &node) {
            return node.siblingAtColumn(1).data().toString().toInt();
        };
        // The numbers of a node's children, down to the families.
        std::function<void(const QModelIndex &, int)> addsUp = [&](const QModelIndex &node,
                                                                   int depth) {
            if (depth == 3)
                return; // a family: its rows are its genera
            int sum = 0;
            for (int row = 0; row < tree->rowCount(node); ++row) {
                sum += genera(tree->index(row, 0, node));
                addsUp(tree->index(row, 0, node), depth + 1);
            }
            QCOMPARE(sum, genera(node));
        };
        QHash<QString, int> groups;
        for (int row = 0; row < tree->rowCount(); ++row) {
            const QModelIndex group = tree->index(row, 0);
            groups[group.data().toString()] = genera(group);
            addsUp(group, 0);
        }
        QCOMPARE(groups, m_entriesOfGroup);
        tabs->setCurrentIndex(0);
    }

    // Down to the third bar and Enter, or a click on the first: each opens
    // its genus; the chart closes with the window.
    void barsOpenTheirGenus()
    {
        RangeChartWindow *chart = m_window.rangeChart();
        QVERIFY(chart);
        RangeChartView *view = chart->view();
        QSignalSpy opened(&m_window, &DiversityWindow::genusOpened);
        view->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.last().at(0).value<GenusPlace>().genus, view->content().bars[2].name);

        // The first row lies under the title and the marks' row.
        const RangeChart layout(view->content(), QRectF(view->viewport()->rect()));
        int row = -1;
        QPoint point;
        for (int y = 0; y < view->viewport()->height() && row != 0; ++y) {
            point = QPoint(view->viewport()->width() / 2, y);
            row = layout.barAt(point);
        }
        QCOMPARE(row, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last().at(0).value<GenusPlace>().genus, view->content().bars[0].name);

        // The chart goes with the diversity window when that is closed.
        QVERIFY(chart->isVisible());
        m_window.close();
        QVERIFY(!chart->isVisible());
    }

private:
    // The genera of `group` in each stage, as the truth places them.
    QList<int> truthPerStage(const QString &group) const
    {
        QList<int> genera(strata::shippedTimeScale().stages().size(), 0);
        for (const auto &[first, last] : m_living.value(group)) {
            for (int stage = first; stage <= last; ++stage)
                ++genera[stage];
        }
        return genera;
    }

    // The stage table as CSV: its "genera" column the current group's, then
    // a column for each series; the plot's lines the same.
    void checkSeries(const QStringList &compared)
    {
        const QList<QStringList> rows =
            parseCsv(QString::fromUtf8(m_window.exportBytes(DiversityExport::StageTable)));
        QVERIFY(rows.size() > 100);
        const QStringList &header = rows.first();
        QList<qsizetype> columns{header.indexOf(u"genera"_s)};
        for (const QString &group : compared.mid(1))
            columns.append(header.indexOf(u"Роды в ярусе: "_s + group));
        QVERIFY2(!columns.contains(-1), qPrintable(header.join(u',')));
        const FigureContent &plotted = m_window.plot()->content();
        QCOMPARE(plotted.series.size(), compared.size() - 1);
        // The time shown from the oldest stage any of them lives in.
        qsizetype oldest = std::numeric_limits<qsizetype>::max();
        for (qsizetype i = 0; i < compared.size(); ++i) {
            const QList<int> truth = truthPerStage(compared[i]);
            oldest = std::min(oldest, std::find_if(truth.cbegin(), truth.cend(), [](int n) {
                                          return n > 0;
                                      }) - truth.cbegin());
            QVERIFY(std::accumulate(truth.cbegin(), truth.cend(), 0) > 0);
            const auto &line = i == 0 ? plotted.values : plotted.series[i - 1].values;
            for (int stage = 0; stage < truth.size(); ++stage) {
                QCOMPARE(rows[stage + 1][columns[i]].toInt(), truth[stage]);
                QCOMPARE(line.value(stage).value_or(-1), double(truth[stage]));
            }
        }
        QCOMPARE(plotted.oldest.value_or(-1), strata::shippedTimeScale().stages()[oldest].base);
    }

    QHash<QString, QList<std::pair<int, int>>> m_living; // by group: first, last stage
    QHash<QString, Span> m_truth;
    QHash<QString, int> m_entriesOfGroup;
    QString m_family;
    DiversityWindow m_window;
};

QTEST_MAIN(TestWindowTruth)
#include "tst_windowtruth.moc"
