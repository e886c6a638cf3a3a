// One file loaded into the shown catalogue window, watched from the click on:
//   fosdat-bench-load SAMPLE_DIR FILE RESULT_JSON
// FILE takes the place of the catalogue CEPH1 in a copy of the sample data set
// made of links (of the reference list REFS2.txt when its name ends in .txt),
// and its group is chosen (its link label clicked) in the window. Measured:
// when the document is shown and its first screen painted, when its layout
// reaches the end, the longest time the event loop does not run, the longest
// time an F9 pressed at any moment waits for its help box, and the process's
// peak memory. Each file gets a process of its own, so that the peak memory
// is that file's. The result is one run in Google Benchmark's JSON form,
// named WindowLoad/NAME (ReferenceListLoad/NAME). A process whose event loop
// has not run for HangSeconds writes what it knows and ends itself. With
// FOSDAT_LOAD_GAPS set it prints every block of the event loop over 30 ms.
#include "CatalogueLoader.h"
#include "CatalogueView.h"
#include "ShownWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace fosdat::bench;

namespace
{

constexpr int HangSeconds = 30;     // an event loop blocked this long counts as hung
constexpr int LayoutSeconds = 60;   // the layout is watched this long after the click
constexpr int ProbeIntervalMs = 20; // between an F9 answered and the next one pressed

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Figures {
    qint64 clicked = 0, shown = -1, painted = -1, laidOut = -1;
    std::atomic<qint64> lastTick = 0;
    qint64 longestBlock = 0;
    std::atomic<qint64> longestAnswer = 0;
    std::atomic<int> answers = 0;
    std::atomic<qint64> probePressed = 0; // 0: no F9 waiting for its answer

    static double ms(qint64 span) { return double(span) / 1e6; }
    double since(qint64 moment) const { return moment < 0 ? -1 : ms(moment - clicked); }
};

class LoadWatch final : public QObject
{
public:
    LoadWatch(ShownWindow &window, QString name, qint64 bytes, QString resultPath, bool list)
        : m_window(window), m_name(std::move(name)), m_bytes(bytes),
          m_resultPath(std::move(resultPath)), m_list(list)
    {
    }

    int run();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void click();
    void tick();
    bool laidOut() const;
    void probe();
    // `hung`: the event loop is blocked at this moment, and the block counts with its length so
    // far.
    void write(const QString &error = {}, bool hung = false) const;

    ShownWindow &m_window;
    QString m_name;
    qint64 m_bytes;
    QString m_resultPath;
    bool m_list;
    Figures m_figures;
    QTimer m_ticker;
    std::atomic<bool> m_done = false;
};

int LoadWatch::run()
{
    m_figures.lastTick = now();
    QWidget *contents = m_list ? m_window.child<QPlainTextEdit>(QStringLiteral("Text2"))->viewport()
                               : m_window.window().catalogueView()->viewport();
    contents->installEventFilter(this);
    if (!m_list) {
        connect(&m_window.window().catalogueLoader(), &CatalogueLoader::documentShown, this,
                [this] { m_figures.shown = now(); });
    }
    m_window.dialogs().onMessage = [this] {
        const qint64 pressed = m_figures.probePressed.exchange(0);
        if (pressed > 0)
            m_figures.longestAnswer = qMax(m_figures.longestAnswer.load(), now() - pressed);
        ++m_figures.answers;
    };
    m_ticker.setTimerType(Qt::PreciseTimer);
    m_ticker.setInterval(1);
    connect(&m_ticker, &QTimer::timeout, this, &LoadWatch::tick);
    std::thread watchdog([this] {
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (!m_done && now() - m_figures.lastTick > qint64(HangSeconds) * 1'000'000'000) {
                write(QStringLiteral("the event loop did not run for %1 s").arg(HangSeconds), true);
                std::fflush(nullptr);
                std::_Exit(3);
            }
        }
    });
    std::thread prober([this] {
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ProbeIntervalMs));
            probe();
        }
    });
    QTimer::singleShot(0, this, &LoadWatch::click);
    QApplication::exec();
    m_done = true;
    watchdog.join();
    prober.join();
    write(m_figures.shown < 0 ? QStringLiteral("nothing was shown") : QString());
    return m_figures.shown < 0 ? 1 : 0;
}

void LoadWatch::click()
{
    m_figures.clicked = m_figures.lastTick = now();
    m_ticker.start();
    probe(); // an F9 pressed with the click, answered once the click is done
    if (m_list) {
        ShownWindow::click(m_window.child<QLabel>(QStringLiteral("Label7")));
        m_figures.shown = now();
    } else if (!m_window.choose(QStringLiteral("ЦЕФАЛОПОДЫ1"))) {
        QApplication::exit(1);
    }
}

void LoadWatch::tick()
{
    const qint64 moment = now();
    m_figures.longestBlock = qMax(m_figures.longestBlock, moment - m_figures.lastTick);
    if (qEnvironmentVariableIsSet("FOSDAT_LOAD_GAPS") && moment - m_figures.lastTick > 30'000'000)
        std::fprintf(stderr, "gap %.1f ms ending at %.1f ms (shown at %.1f)\n",
                     Figures::ms(moment - m_figures.lastTick), m_figures.since(moment),
                     m_figures.since(m_figures.shown));
    m_figures.lastTick = moment;
    if (m_figures.laidOut < 0 && m_figures.shown >= 0 && m_figures.painted >= 0 && laidOut())
        m_figures.laidOut = moment;
    const bool failed = m_figures.shown < 0 && !m_window.window().catalogueLoader().isLoading();
    // The F9 pressed last is answered before the watch ends.
    const bool answered = m_figures.answers > 0 && m_figures.probePressed == 0;
    if (((m_figures.laidOut >= 0 || failed) && answered) ||
        moment - m_figures.clicked > qint64(LayoutSeconds) * 1'000'000'000)
        QApplication::quit();
}

bool LoadWatch::laidOut() const
{
    if (m_list)
        return true; // the panel lays out only the lines it shows
    const QTextBlock last = m_window.window().catalogueView()->document()->lastBlock();
    return last.isValid() && last.layout() && last.layout()->lineCount() > 0;
}

// Runs on the prober's thread: F9 pressed, unless the last one is still waiting.
void LoadWatch::probe()
{
    qint64 idle = 0;
    if (!m_figures.probePressed.compare_exchange_strong(idle, now()))
        return;
    QMetaObject::invokeMethod(
        &m_window.window(), [this] { QTest::keyClick(&m_window.window(), Qt::Key_F9); },
        Qt::QueuedConnection);
}

bool LoadWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && m_figures.shown >= 0 && m_figures.painted < 0)
        m_figures.painted = now();
    return QObject::eventFilter(watched, event);
}

void LoadWatch::write(const QString &error, bool hung) const
{
    const QString name =
        (m_list ? QStringLiteral("ReferenceListLoad/") : QStringLiteral("WindowLoad/")) + m_name;
    QJsonObject run{{"name", name},     {"run_name", name}, {"run_type", "iteration"},
                    {"repetitions", 1}, {"iterations", 1},  {"time_unit", "ms"}};
    run.insert("real_time", m_figures.since(m_figures.shown));
    run.insert("in_bytes", double(m_bytes));
    run.insert("shown_ms", m_figures.since(m_figures.shown));
    run.insert("first_paint_ms", m_figures.since(m_figures.painted));
    run.insert("laid_out_ms", m_figures.since(m_figures.laidOut));
    const qint64 blocked = hung ? now() - m_figures.lastTick : 0;
    const qint64 pressed = m_figures.probePressed;
    const qint64 unanswered = hung && pressed > 0 ? now() - pressed : 0;
    run.insert("longest_block_ms", Figures::ms(qMax(m_figures.longestBlock, blocked)));
    const bool measured = m_figures.answers > 0 || unanswered > 0;
    run.insert("key_answer_ms",
               measured ? Figures::ms(qMax(m_figures.longestAnswer.load(), unanswered)) : -1.0);
    run.insert("peak_rss_MB", peakMemoryMb());
    run.insert("memory_limit_MB", 10.0 * double(m_bytes) / (1024 * 1024) + 100);
    if (!error.isEmpty()) {
        run.insert("error_occurred", true);
        run.insert("error_message", error);
    }
    const QJsonObject context{{"date", QDateTime::currentDateTime().toString(Qt::ISODate)},
                              {"executable", QApplication::applicationFilePath()}};
    QFile out(m_resultPath);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QJsonDocument(QJsonObject{{"context", context}, {"benchmarks", QJsonArray{run}}})
                      .toJson());
    std::printf("%s: %s\n", qPrintable(name),
                qPrintable(QJsonDocument(run).toJson(QJsonDocument::Compact)));
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: fosdat-bench-load SAMPLE_DIR FILE RESULT_JSON\n");
        return 2;
    }
    const QFileInfo file(arguments[1]);
    const QString result = QFileInfo(arguments[2]).absoluteFilePath();
    const bool list = file.suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
    QTemporaryDir dataSet;
    const QString replaced = list ? QStringLiteral("REFS2.txt") : QStringLiteral("CEPH1");
    if (!file.isFile() ||
        !makeDataSetWith(arguments[0], file.absoluteFilePath(), replaced, dataSet.path())) {
        std::fprintf(stderr, "fosdat-bench-load: cannot make a data set with %s\n",
                     qPrintable(file.filePath()));
        return 1;
    }
    ShownWindow window(dataSet.path()); // the data set becomes the current directory
    LoadWatch watch(window, file.completeBaseName(), file.size(), result, list);
    return watch.run();
}
