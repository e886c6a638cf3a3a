// The window "Разнообразие во времени" in the running program, driven as the
// user drives it: opened with Ctrl+D from the catalogue window, groups ticked
// with the keyboard, a text typed, a stage clicked in the plot, a genus opened
// with Enter in the catalogue window; and its exports written to real files
// and read back.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "DiversityCommands.h"
#include "DiversityPlot.h"
#include "DiversityWindow.h"
#include "FigureExport.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "Program.h"
#include "TimeScale.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeView>
#include <QXmlStreamReader>

using fosdat::diversity::DiversityPlot;
using fosdat::diversity::DiversityWindow;
using namespace Qt::StringLiterals;

namespace
{

// БРАХИОПОДЫ1 and БРАХИОПОДЫ2, under their family headings; a genus of
// another group in the Campanian too. Genera of the Campanian (Camp): Alpha
// (in it alone), Beta (through it), Epsilonella (the Cretaceous, counted only
// with period-only ranges), Zeta (living), Eta (from it).
const QByteArray Brach1 = "Family Alphidae\\par "
                          "Alphathyris Smith, 1900\\tab K (Camp)\\tab (12)\\par "
                          "Betathyris Jones, 1910\\tab K (Turo) - T (Dani)\\tab (13)\\par "
                          "Gammathyris\\tab J (Toar-Call)\\tab (14)\\par "
                          "Deltathyris\\tab K (Maastrictian)\\tab (15)\\par "
                          "Epsilonella\\tab K\\tab (16)\\par "
                          "Zetathyris\\tab K (Sant) - Rec\\tab (17)";
const QByteArray Brach2 = "Family Betidae\\par "
                          "Etathyris\\tab K (Camp-Maas)\\tab (18)\\par "
                          "Thetathyris\\tab K (Ceno)\\tab (19)\\par "
                          "Iotathyris\\tab K (Maas) - K (Ceno)\\tab (20)";
const QByteArray Inartic = "Kappalingula\\tab K (Camp)\\tab (21)";
const QByteArray Foram = "Lambdammina\\tab K (Camp)\\tab (22)";

// The running program in a scratch data set, its catalogue window active.
struct Session {
    DataTree data;
    RecordingDialogs *dialogs = nullptr;
    std::unique_ptr<Program> program;

    Session()
    {
        for (const fosdat::data::Group &group : fosdat::data::GroupTable)
            data.writeCatalogue(group.catalogPath.toString().section(u'\\', -1), "");
        data.writeCatalogue(u"BRACH1"_s, Brach1);
        data.writeCatalogue(u"BRACH2"_s, Brach2);
        data.writeCatalogue(u"INARTIC"_s, Inartic);
        data.writeCatalogue(u"FORAM"_s, Foram);
        data.write(u"dat/BD/REFS1.txt"_s, "1. Reference\r\n");
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        program =
            std::make_unique<Program>(std::make_unique<RecordingSoundCue>(), std::move(recording));
        program->showCatalogueWindow()->activateWindow();
    }
    ~Session() { program.reset(); }

    Fosdat *catalogue() const { return program->catalogueWindow(); }
    DiversityWindow *diversity() const { return program->diversityCommands().window(); }
    template <typename T> T *child(const char *name) const
    {
        return diversity()->findChild<T *>(QLatin1StringView(name));
    }

    // Ctrl+D in the catalogue window, until the window has its counts.
    bool openWindow() const
    {
        if (!QTest::qWaitForWindowActive(catalogue()))
            return false;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
        return diversity() && QTest::qWaitFor([this] { return diversity()->counts(); });
    }

    // Unticks every group and ticks only the parts of БРАХИОПОДЫ, finding it
    // by typing its name in the list, as the keyboard does.
    void tickBrachiopods() const
    {
        auto *groups = child<QTreeView>("groupList");
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Space); // "Все группы", the current item
        for (QChar c : u"БРАХ"_s)
            QTest::sendKeyEvent(QTest::Click, groups, Qt::Key_unknown, QString(c), {});
        QTest::keyClick(groups, Qt::Key_Space);
    }

    // The row of the interval table (and the plot's interval) with this code.
    int rowOf(const QString &code) const
    {
        QAbstractItemModel *model = child<QTableView>("stageTable")->model();
        const QModelIndexList found =
            model->match(model->index(0, 0), Qt::DisplayRole, code, 1, Qt::MatchExactly);
        return found.isEmpty() ? -1 : found[0].row();
    }

    // The first column of a view's rows: the intervals' codes in the table,
    // oldest first, the genera in the list.
    template <typename View> QStringList firstColumn(const char *name) const
    {
        QAbstractItemModel *model = child<View>(name)->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }
    QStringList intervals() const { return firstColumn<QTableView>("stageTable"); }
    QStringList listedGenera() const { return firstColumn<QTreeView>("genusList"); }

    // "Интервалы" set to `kind` with the keyboard, and the counts made anew.
    void countIn(const QString &kind) const
    {
        auto *bins = child<QComboBox>("binKind");
        bins->setFocus();
        QTest::keyClick(bins, Qt::Key_Home);
        for (int i = 0; i < bins->count() && bins->currentText() != kind; ++i)
            QTest::keyClick(bins, Qt::Key_Down);
        QCOMPARE(bins->currentText(), kind);
        // The figure's title names the intervals other than the catalogue's own.
        QTRY_COMPARE(diversity()->plot()->content().title.section(u" · интервалы: "_s, 1),
                     bins->currentIndex() == 0 ? QString() : kind);
    }

    // A click on the middle of an interval's column in the plot.
    void clickStage(const QString &code) const
    {
        DiversityPlot *plot = diversity()->plot();
        QTest::mouseClick(plot, Qt::LeftButton, {},
                          plot->stageColumn(rowOf(code)).center().toPoint());
    }
};

// How many entries the "Не учтено" tab lists under its reasons.
int notCountedListed(QTreeView *list)
{
    int entries = 0;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        entries += list->model()->rowCount(list->model()->index(row, 0));
    return entries;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDiversityWindow : public QObject
{
    Q_OBJECT

private slots:
    void stageToGenusInTheCatalogue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("periodOnly");
        QTest::addColumn<bool>("background"); // the catalogue window reads files aside
        QTest::addColumn<int>("counted");
        QTest::addColumn<int>("admitted");
        QTest::addColumn<QStringList>("campanian");
        QTest::addColumn<int>("opened"); // the row Enter opens
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("paragraph");

        // Delta (unknown stage) and Iota (reversed) are not counted.
        QTest::newRow("genus names")
            << "thyris" << false << false << false << 6 << 8
            << QStringList{"Alphathyris", "Betathyris", "Zetathyris", "Etathyris"} << 2
            << "БРАХИОПОДЫ1" << 6;
        QTest::newRow("a family's heading, whole word, read in the background")
            << "Betidae" << true << false << true << 2 << 3 << QStringList{"Etathyris"} << 0
            << "БРАХИОПОДЫ2" << 1;
        QTest::newRow("ranges of a period alone counted")
            << "" << false << true << false << 7 << 9
            << QStringList{"Alphathyris", "Betathyris", "Epsilonella", "Zetathyris", "Etathyris"}
            << 2 << "БРАХИОПОДЫ1" << 5;
    }
    void stageToGenusInTheCatalogue()
    {
        QFETCH(QString, text);
        QFETCH(bool, wholeWord);
        QFETCH(bool, periodOnly);
        QFETCH(bool, background);
        QFETCH(int, counted);
        QFETCH(int, admitted);
        QFETCH(QStringList, campanian);
        QFETCH(int, opened);
        QFETCH(QString, caption);
        QFETCH(int, paragraph);

        Session s;
        if (background)
            s.catalogue()->catalogueLoader().setBackgroundThreshold(0);
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        // Every entry of the data set at first: Delta, Epsilonella and Iota not counted.
        QCOMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 8 из 11 родов"_s);

        s.tickBrachiopods();
        if (wholeWord)
            QTest::mouseClick(s.child<QCheckBox>("wholeWords"), Qt::LeftButton);
        if (periodOnly)
            QTest::mouseClick(s.child<QCheckBox>("countPeriodOnly"), Qt::LeftButton);
        QTest::keyClicks(s.child<QLineEdit>("filterText"), text);
        QTRY_COMPARE(s.child<QLabel>("statusLine")->text(),
                     u"Учтено %1 из %2 родов"_s.arg(counted).arg(admitted));
        // Counted and not counted are every entry under the filters.
        QCOMPARE(s.diversity()->counts()->admitted(), admitted);
        s.child<QTabWidget>("tabs")->setCurrentIndex(1);
        QCOMPARE(s.child<QTabWidget>("tabs")->tabText(1),
                 u"Не учтено (%1)"_s.arg(admitted - counted));
        QCOMPARE(notCountedListed(s.child<QTreeView>("notCountedList")), admitted - counted);

        s.clickStage(u"Camp"_s);
        QCOMPARE(s.listedGenera(), campanian);
        auto *genera = s.child<QTreeView>("genusList");
        QCOMPARE(QApplication::focusWidget(), genera);
        for (int row = 0; row < opened; ++row)
            QTest::keyClick(genera, Qt::Key_Down);
        QTest::keyClick(genera, Qt::Key_Return);

        // Opened as a search result is: the group chosen, the genus selected.
        QCOMPARE(s.catalogue()->findChild<QComboBox *>("Combo1")->currentText(), caption);
        QCOMPARE(s.catalogue()->catalogueLoader().isLoading(), background);
        CatalogueView *view = s.catalogue()->catalogueView();
        QTRY_COMPARE(view->textCursor().selectedText(), campanian[opened]);
        QCOMPARE(view->textCursor().block().blockNumber(), paragraph);
        QVERIFY(view->viewport()->rect().contains(view->cursorRect()));
        QTRY_COMPARE(QApplication::focusWidget(), view);
        QVERIFY(s.dialogs->messages.isEmpty());
    }

    // Ctrl+D brings back a window that was minimised, active.
    void openedAgainFromMinimised()
    {
        Session s;
        QVERIFY(s.openWindow());
        s.diversity()->showMinimized();
        QTRY_VERIFY(s.diversity()->isMinimized());
        s.catalogue()->activateWindow();
        QVERIFY(s.openWindow());
        QTRY_VERIFY(!s.diversity()->isMinimized());
        QVERIFY(QTest::qWaitForWindowActive(s.diversity()));
    }

    // The stage table and the plot in step, a count's column listing its own
    // genera; an entry not counted opened from its reason with the keyboard.
    void tableAndNotCounted()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        auto *table = s.child<QTableView>("stageTable");
        const auto clickCell = [table](int row, int column) {
            const QModelIndex cell = table->model()->index(row, column);
            table->scrollTo(cell);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(cell).center());
        };
        const int firstAppearances = 6; // after the stage's own five columns, the second measure
        QCOMPARE(table->model()->headerData(firstAppearances, Qt::Horizontal),
                 QVariant(u"Первые появления"_s));
        clickCell(s.rowOf(u"Camp"_s), firstAppearances);
        QCOMPARE(s.diversity()->plot()->content().selected, s.rowOf(u"Camp"_s));
        QCOMPARE(s.listedGenera(),
                 (QStringList{"Lambdammina", "Kappalingula", "Alphathyris", "Etathyris"}));
        clickCell(s.rowOf(u"Camp"_s), 0);
        QTest::keyClick(table, Qt::Key_Down); // the plotted measure: genera in the stage
        QCOMPARE(s.diversity()->plot()->content().selected, s.rowOf(u"Maas"_s));
        QCOMPARE(s.listedGenera(), (QStringList{"Betathyris", "Zetathyris", "Etathyris"}));

        auto *tabs = s.child<QTabWidget>("tabs");
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        auto *reasons = s.child<QTreeView>("notCountedList");
        QCOMPARE(reasons->model()->rowCount(), 3);
        // A misspelt code names the code it most resembles, never counted in it.
        QCOMPARE(reasons->model()->index(0, 0).data(),
                 QVariant(u"неизвестный ярус «Maastrictian» — возможно, Maastrichtian "
                          u"(маастрихтский) — 1"_s));
        reasons->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(reasons, key);
        QCOMPARE(s.catalogue()->findChild<QComboBox *>("Combo1")->currentText(), u"БРАХИОПОДЫ1"_s);
        CatalogueView *view = s.catalogue()->catalogueView();
        QTRY_COMPARE(view->textCursor().selectedText(), u"Deltathyris"_s);
        QCOMPARE(view->textCursor().block().blockNumber(), 4);
    }

    // The intervals counted in: by default the catalogue's own units, each
    // range's written units never split (the Jurassic genus's Toar-Call runs
    // over three bins, the Turonian bin holds the Coniacian no genus writes);
    // then the periods, chosen with the keyboard, with the genera of one.
    void intervalsChosen()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        QCOMPARE(s.child<QComboBox>("binKind")->currentText(), u"единицы каталога"_s);
        QCOMPARE(s.intervals(),
                 QStringList({u"Edia-Plie"_s, u"Toar"_s, u"Call"_s, u"Ceno"_s, u"Turo"_s, u"Sant"_s,
                              u"Camp"_s, u"Maas"_s, u"Dani"_s, u"Sela-Megh"_s}));
        QCOMPARE(s.diversity()->plot()->content().values.size(), 10);
        // Time from the oldest interval with a genus, the Toarcian, unless chosen.
        const fosdat::strata::TimeScale &scale = fosdat::strata::shippedTimeScale();
        QCOMPARE(s.diversity()->plot()->content().oldest,
                 scale.stages().at(scale.stageIndex(u"Toar")).base);
        auto *oldest = s.child<QSpinBox>("oldestMa");
        oldest->setFocus();
        QTest::keyClick(oldest, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(oldest, u"300"_s);
        QCOMPARE(s.diversity()->plot()->content().oldest, 300.0);
        s.clickStage(u"Turo"_s);
        QCOMPARE(s.listedGenera(), QStringList({u"Betathyris"_s}));
        QVERIFY(s.child<QLabel>("genusCaption")
                    ->text()
                    .startsWith(u"Turo — туронский, 93,9–85,7 млн лет"));

        s.countIn(u"периоды"_s);
        QStringList periods;
        for (const fosdat::strata::Stage &stage : fosdat::strata::shippedTimeScale().stages()) {
            if (periods.isEmpty() || periods.back() != stage.period)
                periods << stage.period;
        }
        QCOMPARE(s.intervals(), periods);
        QVERIFY(s.diversity()->plot()->content().title.endsWith(u" · интервалы: периоды"));
        s.clickStage(u"K"_s);
        QStringList cretaceous = s.listedGenera();
        cretaceous.sort();
        QCOMPARE(cretaceous,
                 QStringList({u"Alphathyris"_s, u"Betathyris"_s, u"Etathyris"_s, u"Kappalingula"_s,
                              u"Lambdammina"_s, u"Thetathyris"_s, u"Zetathyris"_s}));
    }

    // "Вымершие и живущие" and "Пределы" ticked with the mouse: the Campanian's
    // genera split into the extinct (all but Zetathyris) and the rest; its
    // range from none with "?" (there are none) to the period-only
    // Epsilonella as well. The youngest interval's last appearances are
    // flagged.
    void extinctLivingAndRange()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        const int camp = s.rowOf(u"Camp"_s);
        QCOMPARE(s.diversity()->plot()->content().values.value(camp), 6.0);
        // Deltathyris's unknown stage is written under K: marked over the
        // Cretaceous's intervals, not over the Jurassic's.
        QCOMPARE(s.diversity()->plot()->content().notCounted.value(camp), 1);
        QCOMPARE(s.diversity()->plot()->content().notCounted.value(s.rowOf(u"Toar"_s)), 0);
        QVERIFY(!s.diversity()->plot()->content().part);
        QTest::mouseClick(s.child<QCheckBox>("splitLiving"), Qt::LeftButton);
        QTRY_VERIFY(s.diversity()->plot()->content().part);
        QCOMPARE(s.diversity()->plot()->content().part->values.value(camp), 5.0);
        QTest::mouseClick(s.child<QCheckBox>("showRange"), Qt::LeftButton);
        QTRY_VERIFY(!s.diversity()->plot()->content().bandHigh.isEmpty());
        QCOMPARE(s.diversity()->plot()->content().bandLow.value(camp), 6.0);
        QCOMPARE(s.diversity()->plot()->content().bandHigh.value(camp), 7.0);

        QAbstractItemModel *table = s.child<QTableView>("stageTable")->model();
        const int lastAppearances = 7; // after the interval's own five columns, the third measure
        QCOMPARE(table->headerData(lastAppearances, Qt::Horizontal),
                 QVariant(u"Последние появления"_s));
        const auto tip = [&](int row) {
            return table->index(row, lastAppearances).data(Qt::ToolTipRole).toString();
        };
        QVERIFY(tip(table->rowCount() - 1).contains(u"может жить и ныне"_s));
        QVERIFY(tip(camp).isEmpty());
    }

    // "Сопоставить…": the misspelt code offered with its suggestion, written
    // after what the user's time scale file held, and the entry counted from
    // the file read back.
    void unknownCodeMapped()
    {
        Session s; // the time scale is read when the window first opens
        const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", s.data.path(u"home"_s).toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldHome); });
        const QByteArray before = "# мои коды\nalias,Cmpn,кампан,Camp,Camp";
        QVERIFY(s.data.write(u"home/fosdat/timescale.csv"_s, before));
        QFile own(s.data.path(u"home/fosdat/timescale.csv"_s));
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        QCOMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 8 из 11 родов"_s);
        QTest::mouseClick(s.child<QPushButton>("mapCodes"), Qt::LeftButton);
        QDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = s.diversity()->findChild<QDialog *>(u"codeMapping"_s)));
        auto *table = dialog->findChild<QTableWidget *>(u"codeTable"_s);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), u"Maastrictian"_s);
        QCOMPARE(static_cast<QComboBox *>(table->cellWidget(0, 2))->currentText(),
                 u"Maastrichtian"_s);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);

        QTRY_COMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 9 из 11 родов"_s);
        QVERIFY(own.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(own.readAll()).split(u'\n');
        QVERIFY(lines.join(u'\n').startsWith(QString::fromUtf8(before) + u'\n'));
        const QStringList alias = lines.value(lines.size() - 2).split(u',');
        QCOMPARE(alias.mid(0, 5), (QStringList{u"alias"_s, u"Maastrictian"_s, u"маастрихтский"_s,
                                               u"Maas"_s, u"Maas"_s}));
        QVERIFY(s.dialogs->messages.isEmpty());
        QVERIFY(!s.child<QPushButton>("mapCodes")->isEnabled());
        QVERIFY(!s.diversity()->findChild<QAction *>(u"mapCodesItem"_s)->isEnabled());
    }

    // Families counted, chosen with the keyboard: each the union of its
    // counted genera (Alphidae from the Toarcian to the present, Betidae from
    // the Cenomanian to the Maastrichtian), the genera without a family not
    // counted; a family opened from the list lists its genera.
    void familiesCounted()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        auto *level = s.child<QComboBox>("taxonLevel");
        level->setFocus();
        QTest::keyClick(level, Qt::Key_Down);
        QCOMPARE(level->currentText(), u"семейства"_s);
        QTRY_COMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 2 из 4 семейств"_s);
        QCOMPARE(s.intervals(),
                 QStringList({u"Edia-Plie"_s, u"Toar"_s, u"Ceno"_s, u"Maas"_s, u"Dani-Megh"_s}));
        s.clickStage(u"Ceno"_s);
        QCOMPARE(s.listedGenera(), QStringList({u"Alphidae"_s, u"Betidae"_s}));
        s.clickStage(u"Dani-Megh"_s);
        QCOMPARE(s.listedGenera(), QStringList({u"Alphidae"_s})); // living
        s.child<QTabWidget>("tabs")->setCurrentIndex(1);
        QCOMPARE(notCountedListed(s.child<QTreeView>("notCountedList")), 2);

        s.clickStage(u"Ceno"_s);
        auto *genera = s.child<QTreeView>("genusList");
        QTest::keyClick(genera, Qt::Key_Down);
        QTest::keyClick(genera, Qt::Key_Return); // Betidae
        QCOMPARE(level->currentText(), u"роды"_s);
        QCOMPARE(s.child<QLineEdit>("filterText")->text(), u"Betidae"_s);
        QTRY_COMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 2 из 3 родов"_s);
    }

    // "Систематика": typing keeps the path to a family and its genera, opened,
    // with their numbers and spans; Enter on the family lists its genera
    // counted, Enter on a genus opens it in the catalogue.
    void taxonomyTree()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        auto *tabs = s.child<QTabWidget>("tabs");
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
        QTest::keyClicks(s.child<QLineEdit>("taxonFilter"), u"beti"_s);
        auto *tree = s.child<QTreeView>("taxonList");
        QAbstractItemModel *model = tree->model();
        QCOMPARE(model->rowCount(), 1);
        QModelIndex node = model->index(0, 0);
        QStringList path{node.data().toString()};
        while (model->rowCount(node) == 1 && node.data().toString() != u"Betidae") {
            node = model->index(0, 0, node);
            path << node.data().toString();
        }
        QCOMPARE(path, QStringList({u"БРАХИОПОДЫ2"_s, u"(класс не указан)"_s,
                                    u"(отряд не указан)"_s, u"Betidae"_s}));
        QVERIFY(tree->isExpanded(node)); // a few matches are opened to be seen
        QCOMPARE(node.siblingAtColumn(1).data(), QVariant(u"3"_s));
        QCOMPARE(node.siblingAtColumn(2).data(), QVariant(u"100,5–66"_s)); // Iota not placed
        QStringList genera;
        for (int row = 0; row < model->rowCount(node); ++row)
            genera << model->index(row, 0, node).data().toString();
        QCOMPARE(genera, QStringList({u"Etathyris"_s, u"Thetathyris"_s, u"Iotathyris"_s}));

        tree->setFocus();
        tree->setCurrentIndex(node);
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(s.child<QLineEdit>("filterText")->text(), u"Betidae"_s);
        QTRY_COMPARE(s.child<QLabel>("statusLine")->text(), u"Учтено 2 из 3 родов"_s);

        tabs->setCurrentIndex(2);
        tree->setFocus();
        tree->setCurrentIndex(model->index(0, 0, node));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(s.catalogue()->findChild<QComboBox *>("Combo1")->currentText(), u"БРАХИОПОДЫ2"_s);
        QTRY_COMPARE(s.catalogue()->catalogueView()->textCursor().selectedText(), u"Etathyris"_s);
    }

    // Ctrl+A and Ctrl+C in both lists: one line a genus, its columns
    // separated by tabs; a reason of "Не учтено" copies its entries, each
    // with the reason after it.
    void listsCopied()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        s.clickStage(u"Camp"_s);
        auto *genera = s.child<QTreeView>("genusList");
        QTest::keyClick(genera, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(genera, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"Lambdammina\tФОРАМИНИФЕРЫ\tK (Camp)\n"
                 u"Kappalingula\tБЕЗЗАМКОВЫЕ БРАХИОПОДЫ\tK (Camp)\n"
                 u"Alphathyris\tБРАХИОПОДЫ1\tK (Camp)\n"
                 u"Betathyris\tБРАХИОПОДЫ1\tK (Turo) - T (Dani)\n"
                 u"Zetathyris\tБРАХИОПОДЫ1\tK (Sant) - Rec\n"
                 u"Etathyris\tБРАХИОПОДЫ2\tK (Camp-Maas)\n"_s);

        s.child<QTabWidget>("tabs")->setCurrentIndex(1);
        auto *reasons = s.child<QTreeView>("notCountedList");
        reasons->setFocus();
        QTest::keyClick(reasons, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(reasons, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.size(), 3 + 1);
        QCOMPARE(lines[0].section(u'\t', 0, 2), u"Deltathyris\tБРАХИОПОДЫ1\tK (Maastrictian)"_s);
        QVERIFY(lines[0].section(u'\t', 3).startsWith(u"неизвестный ярус «Maastrictian»"));
        QCOMPARE(lines[1].section(u'\t', 0, 2), u"Epsilonella\tБРАХИОПОДЫ1\tK"_s);
        QCOMPARE(lines[2].section(u'\t', 0, 2), u"Iotathyris\tБРАХИОПОДЫ2\tK (Maas) - K (Ceno)"_s);
        for (const QString &line : lines.mid(0, 3))
            QCOMPARE(line.count(u'\t'), 3);
    }

    // "Долговечность и выживание" of the Campanian chosen with a click in the
    // table: its cohort Alpha, Eta, Kappa and Lambda, of the 8 genera
    // counted, none living, one (Eta) still there in the Maastrichtian;
    // then the Santonian chosen with the keyboard, the dialog following:
    // Zeta alone, living, there to the end. Both tables written through the
    // dialog's menu and read back.
    void survivorshipOfAnInterval()
    {
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        auto *table = s.child<QTableView>("stageTable");
        auto *button = s.child<QPushButton>("survivorshipButton");
        QVERIFY(!button->isEnabled());
        const QModelIndex camp = table->model()->index(s.rowOf(u"Camp"_s), 0);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(camp).center());
        QTest::mouseClick(button, Qt::LeftButton);
        QDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = s.diversity()->findChild<QDialog *>(u"survivorship"_s)));
        QVERIFY(dialog->isVisible());
        auto *caption = dialog->findChild<QLabel *>(u"survivorshipCaption"_s);
        QCOMPARE(caption->text(), u"Когорта интервала Camp — кампанский, 83,6–72,2 млн лет: "
                                  u"появились в нём 4 из 8 родов; ныне живущих из них: 0"_s);

        const fosdat::strata::TimeScale &scale = fosdat::strata::shippedTimeScale();
        const auto age = [&](const char16_t *code, bool base) {
            const fosdat::strata::Stage &stage = scale.stages().at(scale.stageIndex(code));
            return base ? stage.base : stage.top;
        };
        const QTemporaryDir folder;
        const auto written = [&](const char *action, const QString &file) {
            s.dialogs->answer = folder.filePath(file);
            dialog->findChild<QAction *>(QLatin1StringView(action))->trigger();
            return QString::fromUtf8(readFile(folder.filePath(file)))
                .split(u"\r\n"_s, Qt::SkipEmptyParts);
        };
        QStringList rows = written("exportSurvival", u"camp.csv"_s);
        QCOMPARE(rows, (QStringList{u"bin,name,base_ma,top_ma,surviving,share"_s,
                                    u"Camp,кампанский,83.6,72.2,4,1"_s,
                                    u"Maas,маастрихтский,72.2,66,1,0.25"_s,
                                    u"Dani,датский,66,61.66,0,0"_s,
                                    u"Sela-Megh,зеландский–мегхалайский,61.66,0,0,0"_s}));

        table->setFocus();
        QTest::keyClick(table, Qt::Key_Up);
        QCOMPARE(caption->text(), u"Когорта интервала Sant — сантонский, 85,7–83,6 млн лет: "
                                  u"появились в нём 1 из 8 родов; ныне живущих из них: 1"_s);
        rows = written("exportSurvival", u"sant.csv"_s);
        QCOMPARE(rows.size(), 1 + 5);
        for (const QString &row : rows.mid(1))
            QVERIFY2(row.endsWith(u",1,1"), qPrintable(row));

        // The durations of every genus counted, Zeta's a minimum, to the present.
        rows = written("exportDurations", u"durations.csv"_s);
        QCOMPARE(rows.size(), 1 + 8);
        QCOMPARE(rows[0], u"genus,family,range,first_bin,last_bin,base_ma,top_ma,duration_myr,"
                          u"living,cohort"_s);
        QHash<QString, QStringList> byGenus;
        for (const QString &row : rows.mid(1))
            byGenus.insert(row.section(u',', 0, 0), row.split(u','));
        QCOMPARE(
            byGenus.value(u"Zetathyris"_s).mid(3),
            (QStringList{u"Sant"_s, u"Sela-Megh"_s, u"85.7"_s, u"0"_s, u"85.7"_s, u"1"_s, u"1"_s}));
        // Beta from the Turonian's bin (with the Coniacian) to the Danian's.
        const QStringList beta = byGenus.value(u"Betathyris"_s);
        QCOMPARE(beta.mid(3, 2), (QStringList{u"Turo"_s, u"Dani"_s}));
        QCOMPARE(beta.value(7).toDouble(), age(u"Turo", true) - age(u"Dani", false));
        QCOMPARE(beta.mid(8), (QStringList{u"0"_s, u"0"_s}));
        QVERIFY(s.dialogs->messages.isEmpty());

        // Counted anew, Epsilonella's period-only range too: the same
        // intervals, the Santonian still chosen, one genus more counted.
        QTest::mouseClick(s.child<QCheckBox>("countPeriodOnly"), Qt::LeftButton);
        QTRY_COMPARE(caption->text(), u"Когорта интервала Sant — сантонский, 85,7–83,6 млн лет: "
                                      u"появились в нём 1 из 9 родов; ныне живущих из них: 1"_s);

        // Escape closes the window, and the dialog with it.
        s.diversity()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), s.diversity());
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!s.diversity()->isVisible());
        QVERIFY(!dialog->isVisible());
    }

    // Each export through its menu item, the file named by the dialog, read
    // back; one into a folder that is not there says so.
    void exportsReadBack_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("size"); // the figure's size or language chosen first, if any
        QTest::addColumn<QSizeF>("mm");    // the figure's size on paper
        const QSizeF page(174, 98);
        QTest::newRow("stage table") << "exportStages"
                                     << "ярусы.csv" << QString() << page;
        QTest::newRow("genus list") << "exportGenera"
                                    << "роды.csv" << QString() << page;
        QTest::newRow("SVG") << "exportSvg"
                             << "рисунок.svg" << QString() << page;
        QTest::newRow("SVG, a journal's column") << "exportSvg"
                                                 << "рисунок.svg"
                                                 << "figureColumn" << QSizeF(84, 63);
        QTest::newRow("SVG, English labels") << "exportSvg"
                                             << "figure.svg"
                                             << "labelsEnglish" << page;
        QTest::newRow("PNG") << "exportPng"
                             << "рисунок.png" << QString() << page;
        QTest::newRow("PDF") << "exportPdf"
                             << "рисунок.pdf" << QString() << page;
        QTest::newRow("PDF, a slide") << "exportPdf"
                                      << "рисунок.pdf"
                                      << "figureSlide" << QSizeF(254, 143);
        QTest::newRow("no such folder") << "exportSvg"
                                        << "нет/рисунок.svg" << QString() << page;
    }
    void exportsReadBack()
    {
        QFETCH(QString, action);
        QFETCH(QString, file);
        QFETCH(QString, size);
        QFETCH(QSizeF, mm);
        Session s;
        QVERIFY(s.openWindow());
        QVERIFY(QTest::qWaitForWindowExposed(s.diversity()));
        if (!size.isEmpty())
            s.diversity()->findChild<QAction *>(size)->trigger();
        if (action == u"exportStages")
            s.countIn(u"ярусы"_s);
        s.clickStage(u"Camp"_s); // Lambda, Kappa, Alpha, Beta, Zeta, Eta
        const QTemporaryDir folder;
        const QString path = folder.filePath(file);
        s.dialogs->answer = path;
        s.diversity()->findChild<QAction *>(action)->trigger();

        if (file.startsWith(u"нет/")) {
            QCOMPARE(s.dialogs->messages.size(), 1);
            QVERIFY(s.dialogs->messages[0].text.startsWith(u"Не удалось записать файл"));
            return;
        }
        QVERIFY(s.dialogs->messages.isEmpty());
        const QByteArray bytes = readFile(path);
        const int stages = int(fosdat::strata::shippedTimeScale().stages().size());
        const int campanian = fosdat::strata::shippedTimeScale().stageIndex(u"Camp");
        if (file.endsWith(u".csv")) {
            const QStringList rows = QString::fromUtf8(bytes).split(u"\r\n"_s, Qt::SkipEmptyParts);
            if (action == u"exportStages") {
                QCOMPARE(rows.size(), stages + 1);
                QVERIFY(rows[0].startsWith(u"stage,name,base_ma,top_ma,genera,"));
                QVERIFY(rows[campanian + 1].startsWith(u"Camp,кампанский,83.6,72.2,6,4,3,"));
                QVERIFY(rows[1].endsWith(u",,,,")); // no rates in the first stage
            } else {
                QCOMPARE(rows.size(), 7);
                QVERIFY(rows[0].startsWith(u"group,genus,range,"));
                QVERIFY(rows[6].startsWith(u"БРАХИОПОДЫ2,Etathyris,K (Camp-Maas),Camp,Maas,"));
                for (const QString &row : rows.mid(1))
                    QVERIFY(row.contains(u",counted,"));
            }
        } else if (file.endsWith(u".svg")) {
            QXmlStreamReader xml(bytes);
            QVERIFY(xml.readNextStartElement());
            QCOMPARE(xml.name(), u"svg");
            // Its size on paper, and a view box in pixels at 96 an inch.
            QCOMPARE(xml.attributes().value(u"width"_s).toString(), u"%1mm"_s.arg(mm.width()));
            QCOMPARE(xml.attributes().value(u"height"_s).toString(), u"%1mm"_s.arg(mm.height()));
            const QStringList box = xml.attributes().value(u"viewBox"_s).toString().split(u' ');
            QCOMPARE(qRound(box.value(2).toDouble()), qRound(mm.width() / 25.4 * 96));
            QCOMPARE(qRound(box.value(3).toDouble()), qRound(mm.height() / 25.4 * 96));
            while (!xml.atEnd())
                xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            // The figure's own texts in the language chosen, the numbers too.
            const QString svg = QString::fromUtf8(bytes);
            const bool english = size == u"labelsEnglish";
            QCOMPARE(svg.contains(u"Учтено 8 из 11 родов"_s), !english);
            for (const QString &text : {u"8 of 11 genera counted"_s, u"Time scale: "_s,
                                        u"Time, Ma"_s, u"Genera"_s, u"All groups"_s})
                QVERIFY2(svg.contains(text) == english, qPrintable(text));
        } else if (file.endsWith(u".png")) {
            QImage image;
            QVERIFY(image.loadFromData(bytes, "PNG"));
            QCOMPARE(image.size(), (mm / 25.4 * 300).toSize()); // 300 pixels an inch
        } else {
            QVERIFY(bytes.startsWith("%PDF-"));
            static const QRegularExpression page(u"/Type\\s*/Page\\b(?!s)"_s);
            QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
            static const QRegularExpression box(u"/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)"_s);
            const QRegularExpressionMatch points = box.match(QString::fromLatin1(bytes));
            QVERIFY(points.hasMatch()); // the figure's own size, in points
            QCOMPARE(qRound(points.captured(1).toDouble()), qRound(mm.width() / 25.4 * 72));
            QCOMPARE(qRound(points.captured(2).toDouble()), qRound(mm.height() / 25.4 * 72));
        }
    }
};

QTEST_MAIN(TestDiversityWindow)
#include "tst_diversitywindow.moc"
