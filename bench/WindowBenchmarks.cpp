// The catalogue window's reference lists, choosing a group, and how long
// loading a catalogue keeps the event loop from running.
#include "BenchCommon.h"
#include "DataPaths.h"
#include "GroupTable.h"
#include "ShownView.h"
#include "ShownWindow.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

namespace fosdat::bench
{

namespace
{

// A click on a reference link label until the panel shows the list's first
// screen: the file is read, decoded and handed to the panel on every click.
void referenceList(benchmark::State &state, const QString &sampleDir, const QString &label,
                   QStringView dataPath)
{
    ShownWindow window(sampleDir);
    auto *link = window.child<QLabel>(label);
    auto *panel = window.child<QPlainTextEdit>(QStringLiteral("Text2"));
    if (!link || !panel) {
        state.SkipWithError("no such control");
        return;
    }
    for (auto _ : state) {
        ShownWindow::click(link);
        panel->viewport()->grab();
    }
    QString file = dataPath.toString();
    file.replace(u'\\', u'/');
    const qint64 bytes = QFileInfo(QDir(sampleDir).filePath(file)).size();
    state.counters["in_bytes"] = double(bytes);
    state.counters["characters"] = double(panel->document()->characterCount());
    state.SetLabel(humanSize(bytes).toStdString());
}

// Choosing the group of `input` in the window until the view has painted its
// first screen: reading, replacing the document shown and painting.
void clickToFirstScreen(benchmark::State &state, const QString &sampleDir, const Input &input)
{
    QString caption;
    for (const data::Group &group : data::GroupTable) {
        if (group.catalogPath.endsWith(u'\\' + input.name))
            caption = group.caption.toString();
    }
    ShownWindow window(sampleDir);
    QWidget *contents = window.window().catalogueView()->viewport();
    for (auto _ : state) {
        if (!window.choose(caption)) {
            state.SkipWithError("no group shows this catalogue");
            return;
        }
        contents->grab();
    }
    recordInput(state, input);
}

// Ticks of a 1 ms timer while a catalogue loads into the shown view: the
// longest gap between two ticks is the longest time the user's input waits.
class EventLoopWatch
{
public:
    EventLoopWatch()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
    }

    struct Gaps {
        double load = 0;      // reading the file and showing its document
        double afterLoad = 0; // longest gap after it, while the layout goes on
        double settled = 0;   // from the load's end until the last block is laid out
    };

    Gaps watchLoad(ShownView &view, const QString &path);

private:
    void tick();

    QTimer m_ticker;
    QElapsedTimer m_clock;
    qint64 m_lastTick = 0;
    qint64 m_longestGap = 0;
    std::function<bool()> m_done;
    QEventLoop *m_loop = nullptr;
};

void EventLoopWatch::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longestGap = qMax(m_longestGap, now - m_lastTick);
    m_lastTick = now;
    if (m_done && m_done() && m_loop)
        m_loop->quit();
}

EventLoopWatch::Gaps EventLoopWatch::watchLoad(ShownView &view, const QString &path)
{
    Gaps gaps;
    qint64 loadEnd = -1;
    QEventLoop loop;
    m_loop = &loop;
    m_done = [&] { return loadEnd >= 0 && view.laidOutToTheEnd(); };
    m_clock.start();
    m_lastTick = 0;
    m_longestGap = 0;
    QTimer::singleShot(0, [&] {
        const qint64 start = m_clock.nsecsElapsed();
        view.load(path);
        loadEnd = m_clock.nsecsElapsed();
        gaps.load = double(loadEnd - start) / 1e9;
        m_lastTick = loadEnd;
        m_longestGap = 0;
    });
    QTimer::singleShot(120'000, &loop, &QEventLoop::quit); // a layout that never ends
    m_ticker.start();
    loop.exec();
    m_ticker.stop();
    gaps.afterLoad = double(m_longestGap) / 1e9;
    gaps.settled = double(m_clock.nsecsElapsed() - loadEnd) / 1e9;
    m_done = nullptr;
    m_loop = nullptr;
    return gaps;
}

void eventLoopBlock(benchmark::State &state, const Input &input)
{
    ShownView &view = sharedView();
    EventLoopWatch watch;
    EventLoopWatch::Gaps worst;
    for (auto _ : state) {
        view.clear();
        const EventLoopWatch::Gaps gaps = watch.watchLoad(view, input.path);
        if (!view.laidOutToTheEnd()) {
            state.SkipWithError("the layout did not reach the end");
            return;
        }
        state.SetIterationTime(qMax(gaps.load, gaps.afterLoad));
        worst = {qMax(worst.load, gaps.load), qMax(worst.afterLoad, gaps.afterLoad),
                 qMax(worst.settled, gaps.settled)};
    }
    recordInput(state, input);
    state.counters["load_ms"] = worst.load * 1e3;
    state.counters["layout_gap_ms"] = worst.afterLoad * 1e3;
    state.counters["layout_done_ms"] = worst.settled * 1e3;
}

} // namespace

void registerWindowBenchmarks(const Inputs &inputs)
{
    const char *const labels[] = {"Label2", "Label7", "Label8"}; // in the order of the lists
    for (size_t list = 0; list < data::ReferenceListPaths.size(); ++list) {
        const QStringView path = data::ReferenceListPaths[list];
        const QString label = QString::fromLatin1(labels[list]);
        const QString name = path.mid(path.lastIndexOf(u'\\') + 1).toString();
        add(QStringLiteral("ReferenceList/") + name,
            [dir = inputs.sampleDir, label, path](benchmark::State &state) {
                referenceList(state, dir, label, path);
            });
    }
    add(QStringLiteral("ClickToFirstScreen/") + inputs.largest.name,
        [dir = inputs.sampleDir, input = inputs.largest](benchmark::State &state) {
            clickToFirstScreen(state, dir, input);
        });
    for (const Input &input : inputs.perFile()) {
        add(QStringLiteral("EventLoopBlock/") + input.name,
            [input](benchmark::State &state) { eventLoopBlock(state, input); })
            ->UseManualTime()
            ->Iterations(1);
    }
}

} // namespace fosdat::bench
