// The catalogue view on large catalogues, in the shown catalogue window:
//   fosdat-bench-scroll [benchmark options] SAMPLE_DIR FILE...
// Each FILE, a catalogue of the sample generator named by its genera
// ("30000.rtf"), takes the place of CEPH1 in a copy of the sample data set
// made of links. Timed, each until the view's contents are painted with the
// place reached in sight: choosing the group (GroupClickFirstPaint/NAME,
// until the catalogue's first screen is painted, the rest of the file still
// being read; `whole_ms` counts on until the view holds the whole file),
// Ctrl+End from the start (JumpToLast/NAME, target 100 ms) and one PageDown
// in the middle of the catalogue (PageScroll/NAME, target 16 ms). Every row
// gives the process's peak memory so far (peak_rss_MB), the rows running in
// that order.
#include "BenchCommon.h"
#include "BenchStart.h"
#include "CatalogueView.h"
#include "RtfText.h"
#include "ShownWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>

using namespace fosdat::bench;

namespace
{

const QString Caption = QStringLiteral("ЦЕФАЛОПОДЫ1");
const QString Replaced = QStringLiteral("CEPH1");
const QString OtherCaption = QStringLiteral("ФОРАМИНИФЕРЫ");
constexpr int LoadMs = 120'000; // a group's catalogue shown
constexpr int StepMs = 10'000;  // a key answered

struct LargeFile {
    Input input;
    QString firstLine, lastLine; // of its text
};

// The window on a copy of the sample data set with the file in place of
// CEPH1, which becomes the current directory.
class Scene
{
public:
    Scene(const QString &sampleDir, const LargeFile &file)
        : m_file(file),
          m_ready(makeDataSetWith(sampleDir, file.input.path, Replaced, m_dir.path())),
          m_window(m_dir.path())
    {
        m_wake.setTimerType(Qt::PreciseTimer);
        m_wake.start(1); // so that waiting for events never outlasts a millisecond
    }

    bool ready() const { return m_ready; }
    CatalogueView &view() { return *m_window.window().catalogueView(); }
    QString topLine() { return lineAt(1); }
    QString bottomLine() { return lineAt(view().viewport()->height() - 2); }
    bool loading()
    {
        const auto *bar = view().findChild<QProgressBar *>(QStringLiteral("loadingProgress"));
        return bar && bar->isVisible();
    }

    // Runs the event loop until `done`; false when it has not come within `ms`.
    bool waitFor(const std::function<bool()> &done, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > ms)
                return false;
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }
    // Chooses a group as the mouse does, then waits until its catalogue is
    // shown from its start: the file's, or another (ФОРАМИНИФЕРЫ's); and,
    // unless only `begun`, until it is read whole.
    bool choose(bool large, bool begun = false)
    {
        if (!m_window.choose(large ? Caption : OtherCaption))
            return false;
        return waitFor([&] { return (topLine() == m_file.firstLine) == large; }, LoadMs) &&
               (begun || whole());
    }
    bool whole()
    {
        return waitFor([&] { return !loading(); }, LoadMs);
    }
    void press(QKeyCombination key)
    {
        QTest::keyClick(&view(), key.key(), key.keyboardModifiers());
    }
    void paint() { view().viewport()->grab(); }

    void record(benchmark::State &state) const
    {
        recordInput(state, m_file.input);
        state.counters["peak_rss_MB"] = peakMemoryMb();
    }

private:
    QString lineAt(int y) { return view().cursorForPosition(QPoint(1, y)).block().text(); }

    const LargeFile &m_file;
    QTemporaryDir m_dir;
    bool m_ready;
    ShownWindow m_window;
    QTimer m_wake;
};

// Shows the file's catalogue from its start; false, the row skipped with the
// reason, when it is not shown.
bool shownFromStart(Scene &scene, benchmark::State &state)
{
    if (scene.ready() && scene.choose(true))
        return true;
    state.SkipWithError("the catalogue was not shown from its start");
    return false;
}

// From another group to the file's, until its first screen is painted.
void groupClickFirstPaint(benchmark::State &state, const QString &sampleDir, const LargeFile &file)
{
    Scene scene(sampleDir, file);
    std::vector<double> whole;
    for (auto _ : state) {
        state.PauseTiming();
        const bool away = scene.ready() && scene.choose(false);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        if (!away || !scene.choose(true, true)) {
            state.SkipWithError("the catalogue was not shown from its start");
            return;
        }
        scene.paint();
        state.PauseTiming();
        if (!scene.whole()) {
            state.SkipWithError("the catalogue was not read whole");
            return;
        }
        whole.push_back(double(clock.nsecsElapsed()) / 1e6);
        state.ResumeTiming();
    }
    state.counters["whole_ms"] = medianOf(std::move(whole));
    scene.record(state);
}

// Ctrl+End at the start until the file's last line is painted.
void jumpToLast(benchmark::State &state, const QString &sampleDir, const LargeFile &file)
{
    Scene scene(sampleDir, file);
    if (!shownFromStart(scene, state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        scene.press(Qt::CTRL | Qt::Key_Home);
        const bool atStart =
            scene.waitFor([&] { return scene.topLine() == file.firstLine; }, StepMs);
        scene.paint();
        state.ResumeTiming();
        scene.press(Qt::CTRL | Qt::Key_End);
        if (!atStart ||
            !scene.waitFor([&] { return scene.bottomLine() == file.lastLine; }, StepMs)) {
            state.SkipWithError("Ctrl+End did not show the catalogue's last line");
            return;
        }
        scene.paint();
    }
    scene.record(state);
}

// In the middle of the catalogue, as a drag of the scroll bar leaves it, one
// PageDown until the next page is painted; a PageUp, not timed, goes back.
void pageScroll(benchmark::State &state, const QString &sampleDir, const LargeFile &file)
{
    Scene scene(sampleDir, file);
    if (!shownFromStart(scene, state))
        return;
    QScrollBar *bar = scene.view().verticalScrollBar();
    bar->setValue((bar->minimum() + bar->maximum()) / 2);
    scene.paint();
    for (auto _ : state) {
        const QString top = scene.topLine();
        scene.press(QKeyCombination(Qt::Key_PageDown));
        if (!scene.waitFor([&] { return scene.topLine() != top; }, StepMs)) {
            state.SkipWithError("PageDown did not move the view");
            return;
        }
        scene.paint();
        state.PauseTiming();
        scene.press(QKeyCombination(Qt::Key_PageUp));
        scene.paint();
        state.ResumeTiming();
    }
    scene.record(state);
}

} // namespace

int main(int argc, char *argv[])
{
    fosdat::bench::startBenchmarks(&argc, argv);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: fosdat-bench-scroll [benchmark options] SAMPLE_DIR FILE...\n");
        return 2;
    }
    const QString sampleDir = QDir(arguments.front()).absolutePath();
    QString error;
    const Inputs inputs = loadInputs(sampleDir, arguments.mid(1), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "fosdat-bench-scroll: %s\n", qPrintable(error));
        return 1;
    }
    QList<LargeFile> files;
    for (const Input &input : inputs.scaled) {
        const QStringList lines =
            fosdat::rtf::readText(input.bytes).value_or(QString()).split(u'\n', Qt::SkipEmptyParts);
        if (lines.isEmpty()) {
            std::fprintf(stderr, "fosdat-bench-scroll: %s holds no text\n", qPrintable(input.path));
            return 1;
        }
        files.append({input, lines.first(), lines.last()});
    }
    using Row = void (*)(benchmark::State &, const QString &, const LargeFile &);
    const std::pair<const char *, Row> rows[] = {{"GroupClickFirstPaint/", groupClickFirstPaint},
                                                 {"JumpToLast/", jumpToLast},
                                                 {"PageScroll/", pageScroll}};
    for (const auto &[family, row] : rows) {
        for (const LargeFile &file : std::as_const(files)) {
            add(QString::fromLatin1(family) + file.input.name,
                [&file, &sampleDir, row](benchmark::State &state) { row(state, sampleDir, file); });
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
