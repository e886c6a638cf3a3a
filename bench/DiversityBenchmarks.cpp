// The window of diversity through time on a whole data set, shown: a change
// of filter or option until the plot is repainted, and the figure written as
// SVG (also PNG and PDF) to a file on disk, and the durations of the genera
// counted as CSV.
#include "BenchCommon.h"
#include "CatalogueIndex.h"
#include "DiversityCommands.h"
#include "DiversityWindow.h"
#include "GroupChecklist.h"
#include "NoDialogs.h"
#include "Program.h"
#include "RangeChartWindow.h"
#include "SaveFile.h"
#include "ShownView.h"
#include "ShownWindow.h"
#include "TimeScale.h"
#include "WindowFront.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>

namespace fosdat::bench
{

namespace
{

using diversity::DiversityExport;
using diversity::DiversityWindow;

// The window with the entries of every catalogue of `set`, and the search
// index's texts of them, as the program gives them.
class ShownDiversity
{
public:
    explicit ShownDiversity(const DataSet &set)
    {
        const catalogue::CataloguesPtr texts = readCatalogues(set);
        CatalogueIndex index;
        index.update(texts);
        diversity::GenusCatalogue catalogue =
            diversity::genusCatalogue(readEntries(texts), index.bytes());
        m_entries = catalogue.entries.size();
        m_window.setCatalogue(std::move(catalogue));
        m_window.show();
        bringWindowToFront(m_window);
        m_exposed = waitUntilExposed(m_window);
        QApplication::processEvents();
    }

    bool exposed() const { return m_exposed; }
    qsizetype entries() const { return m_entries; }
    DiversityWindow &window() { return m_window; }
    template <typename T> T *child(const char *name)
    {
        return m_window.findChild<T *>(QLatin1StringView(name));
    }

    // The recount the change asked for, then the paint of what it changed.
    void settle()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents(&m_window, QEvent::UpdateRequest);
    }

    void key(QWidget *target, Qt::Key key, const QString &text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }

private:
    DiversityWindow m_window;
    qsizetype m_entries = 0;
    bool m_exposed = false;
};

// One change each time, undone untimed before the next: the parts of
// БРАХИОПОДЫ ticked off together; a letter typed after "id" (the family
// names in "-idae"), which narrows what matched; that letter taken back,
// which matches every entry again; period-only ranges counted; the
// intervals changed from the catalogue's own units to the chart's stages;
// families counted instead of genera; the selection kept as a series, with
// БРАХИОПОДЫ kept as another; a letter typed in the field of "Систематика".
void filterChange(benchmark::State &state, const DataSet &set, const QString &kind)
{
    ShownDiversity shown(set);
    if (!shown.exposed()) {
        state.SkipWithError("the window was not shown");
        return;
    }
    auto *groups = shown.child<diversity::GroupChecklist>("groupList");
    QTreeWidgetItem *brachiopods = groups->itemNamed(QStringLiteral("БРАХИОПОДЫ"));
    auto *field = shown.child<QLineEdit>("filterText");
    auto *periodOnly = shown.child<QCheckBox>("countPeriodOnly");
    auto *bins = shown.child<QComboBox>("binKind");
    auto *level = shown.child<QComboBox>("taxonLevel");
    auto *addSeries = shown.child<QAction>("addSeries");
    auto *taxonFilter = shown.child<QLineEdit>("taxonFilter");
    if (kind == u"tree") { // "Систематика" shown, "id" typed in its field
        auto *tabs = shown.child<QTabWidget>("tabs");
        tabs->setCurrentWidget(shown.child<QWidget>("taxonTree"));
        taxonFilter->setText(QStringLiteral("id"));
        shown.settle();
    }
    if (kind == u"series") { // БРАХИОПОДЫ kept, all groups but them shown
        addSeries->trigger();
        brachiopods->setCheckState(0, Qt::Unchecked);
        shown.settle();
    }
    if (kind == u"letter" || kind == u"backspace") {
        field->setText(QStringLiteral("id"));
        shown.settle();
    }
    const auto change = [&](bool undo) {
        if (kind == u"group")
            brachiopods->setCheckState(0, undo ? Qt::Checked : Qt::Unchecked);
        else if (kind == u"option")
            periodOnly->toggle();
        else if (kind == u"bins")
            bins->setCurrentIndex(undo ? 0 : 1);
        else if (kind == u"level")
            level->setCurrentIndex(undo ? 0 : 1);
        else if (kind == u"tree" && !undo)
            shown.key(taxonFilter, Qt::Key_A, QStringLiteral("a"));
        else if (kind == u"tree")
            shown.key(taxonFilter, Qt::Key_Backspace);
        else if (kind == u"series" && !undo)
            addSeries->trigger();
        else if (kind == u"series")
            shown.child<QToolButton>("seriesButton")
                ->menu()
                ->findChild<QAction *>(QStringLiteral("removeSeries1"))
                ->trigger();
        else if ((kind == u"letter") != undo)
            shown.key(field, Qt::Key_A, QStringLiteral("a"));
        else
            shown.key(field, Qt::Key_Backspace);
    };
    if (kind == u"backspace") // the field holds "ida" before each timed key
        change(true), shown.settle();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        change(false);
        shown.settle();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        change(true);
        shown.settle();
    }
    state.counters["entries"] = double(shown.entries());
    state.counters["counted"] = double(shown.window().counts()->counted().size());
}

// From the window's figure, or its table of genus durations, to the file on
// disk.
void figureExport(benchmark::State &state, const DataSet &set, DiversityExport kind)
{
    ShownDiversity shown(set);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("figure"));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray figure = shown.window().exportBytes(kind);
        if (figure.isEmpty() || !data::saveFile(path, figure).ok) {
            state.SkipWithError("the export was not written");
            return;
        }
        bytes = figure.size();
    }
    state.counters["out_bytes"] = double(bytes);
}

// The range chart of 2,000 genera, from a click on "Диаграмма…" until the
// chart's window is painted: the first 2,000 genera of the period with the
// most, chosen in the list.
void rangeChart(benchmark::State &state, const DataSet &set)
{
    constexpr int Bars = 2000;
    ShownDiversity shown(set);
    auto *bins = shown.child<QComboBox>("binKind");
    bins->setCurrentIndex(bins->findData(int(strata::BinKind::Periods)));
    shown.settle();
    const strata::StageCounts &counts = *shown.window().counts();
    int fullest = 0;
    for (int bin = 0; bin < counts.stageCount(); ++bin) {
        if (counts.count(bin, strata::Count::Genera) > counts.count(fullest, strata::Count::Genera))
            fullest = bin;
    }
    auto *table = shown.child<QTableView>("stageTable");
    table->setCurrentIndex(table->model()->index(fullest, 0));
    auto *list = shown.child<QTreeView>("genusList");
    if (list->model()->rowCount() < Bars) {
        state.SkipWithError("no period holds 2,000 genera");
        return;
    }
    list->selectionModel()->select(
        QItemSelection(list->model()->index(0, 0), list->model()->index(Bars - 1, 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    auto *button = shown.child<QPushButton>("rangeChartButton");
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        button->click();
        QApplication::processEvents();
        QApplication::sendPostedEvents(shown.window().rangeChart(), QEvent::UpdateRequest);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["bars"] = Bars;
}

// "Сопоставить…" in the running program: an unknown stage code of the data
// set counted as a known one, a new code each time, from the choice until
// the plot is repainted: the user's time scale file written, the entries
// read again in the new scale on the catalogue model's worker, counted and
// drawn. The file is written in a scratch home.
void codesMapped(benchmark::State &state, const DataSet &set)
{
    const QTemporaryDir home;
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldHome); });
    QDir::setCurrent(set.dir);
    Program program(std::make_unique<SilentCue>(), std::make_unique<NoDialogs>());
    program.showCatalogueWindow();
    program.diversityCommands().openWindow();
    DiversityWindow *window = program.diversityCommands().window();
    const auto counted = [window](const strata::StageCounts *before) {
        QElapsedTimer waited;
        waited.start();
        while (window->counts() == before && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::sendPostedEvents(window, QEvent::UpdateRequest);
        return window->counts() != before;
    };
    if (!counted(nullptr)) {
        state.SkipWithError("the entries were not read");
        return;
    }
    // The unknown codes, as the dialog lists them.
    window->findChild<QPushButton *>(QStringLiteral("mapCodes"))->click();
    QStringList codes;
    if (auto *dialog = window->findChild<QDialog *>(QStringLiteral("codeMapping"))) {
        auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("codeTable"));
        for (int row = 0; row < table->rowCount(); ++row)
            codes << table->item(row, 0)->text();
        dialog->reject();
    }
    if (codes.size() < int(state.max_iterations)) {
        state.SkipWithError("too few unknown codes");
        return;
    }
    int next = 0;
    for (auto _ : state) {
        const strata::StageCounts *before = window->counts();
        QElapsedTimer clock;
        clock.start();
        emit window->codesMapped({{codes[next++], QStringLiteral("Camp")}});
        if (!counted(before)) {
            state.SkipWithError("the entries were not counted again");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["entries"] = double(window->counts()->admitted());
}

} // namespace

void registerDiversityBenchmarks(const Inputs &inputs)
{
    for (const DataSet &set : inputs.dataSets) {
        for (const QString &kind :
             {QStringLiteral("group"), QStringLiteral("letter"), QStringLiteral("backspace"),
              QStringLiteral("option"), QStringLiteral("bins"), QStringLiteral("level"),
              QStringLiteral("series"), QStringLiteral("tree")}) {
            add(QStringLiteral("DiversityFilterChange/%1/%2").arg(kind, set.name),
                [set, kind](benchmark::State &state) { filterChange(state, set, kind); })
                ->UseManualTime()
                ->Iterations(30);
        }
        add(QStringLiteral("DiversityCodesMapped/%1").arg(set.name),
            [set](benchmark::State &state) { codesMapped(state, set); })
            ->UseManualTime()
            ->Iterations(5);
        add(QStringLiteral("RangeChart2000/%1").arg(set.name),
            [set](benchmark::State &state) { rangeChart(state, set); })
            ->UseManualTime()
            ->Iterations(20);
        for (const auto &[kind, name] :
             {std::pair{DiversityExport::Svg, "Svg"}, std::pair{DiversityExport::Png, "Png"},
              std::pair{DiversityExport::Pdf, "Pdf"},
              std::pair{DiversityExport::Durations, "Durations"}}) {
            add(QStringLiteral("DiversityExport%1/%2").arg(QLatin1StringView(name), set.name),
                [set, kind](benchmark::State &state) { figureExport(state, set, kind); })
                ->Iterations(10);
        }
    }
}

} // namespace fosdat::bench
