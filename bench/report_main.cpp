// Turns the JSON results of one `make bench` run into a Markdown summary.
//   fosdat-bench-report RESULTS_DIR LARGEST X10 X100 [RICH]
// LARGEST names the largest sample catalogue, X10 and X100 the scale files,
// RICH the real-shaped one, as the benchmarks name them. RESULTS_DIR may also
// hold compare-RICH.txt, how rtf2txt's text of RICH compares with
// LibreOffice's.
#include "BenchResults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace fosdat::bench;

namespace
{

QString duration(double seconds)
{
    if (seconds >= 1)
        return QString::number(seconds, 'f', 2) + QStringLiteral(" s");
    if (seconds >= 0.01)
        return QString::number(seconds * 1e3, 'f', 1) + QStringLiteral(" ms");
    return QString::number(seconds * 1e3, 'f', 3) + QStringLiteral(" ms");
}

QString spread(const Timing &timing)
{
    return QStringLiteral("%1%2 [%3–%4]")
        .arg(timing.lowerBound ? QStringLiteral("≥ ") : QString(), duration(timing.median),
             duration(timing.min), duration(timing.max));
}

QString ratio(double value)
{
    return QString::number(value, 'f', value >= 10 ? 0 : 1) + QStringLiteral("×");
}

const QString NotMeasured = QStringLiteral("not measured");

// The changes the diversity window is timed on, by benchmark name.
constexpr std::pair<const char *, const char *> DiversityChanges[] = {
    {"group", "the parts of a group ticked off"},
    {"letter", "a letter typed in the text filter"},
    {"backspace", "a letter taken back from the text filter"},
    {"option", "a counting option changed"},
};

class Report
{
public:
    Report(const BenchResults &results, const QStringList &files, QString comparison)
        : m_results(results), m_largest(files[0]), m_x10(files[1]), m_x100(files[2]),
          m_rich(files.value(3)), m_comparison(std::move(comparison))
    {
    }

    QString render();

private:
    void inputs();
    void targets();
    void viewer();
    void startup();
    void loading();
    void loadingRow(const QString &name);
    void peers();
    void search();
    void searchTargets();
    void strata();
    void strataTargets();
    std::optional<double> scanPeer(const QString &set) const;

    void target(const QString &what, const QString &measured, std::optional<bool> met);
    void row(const QString &what, const QString &measured, const QString &verdict);
    void speedTarget(const QString &input, const QString &tool, double times);
    void speedTarget(const QString &what, std::optional<double> ours,
                     const std::optional<Timing> &theirs, double times);
    void timeTarget(const QString &what, const QString &benchmark, double limit);
    void growthTarget(const QString &what, const QString &benchmark, const QString &from,
                      const QString &to, const QString &counter, const QString &baseline = {});
    std::optional<double> growth(const QString &benchmark, const QString &from, const QString &to,
                                 const QString &counter) const;
    void savedSizeTarget();
    void peakMemoryTarget();
    void loadingTarget();
    void largeViewTargets();
    void largeView();
    QStringList loadingNames() const;
    QStringList loadingMisses(const QString &name) const;

    std::optional<double> median(const QString &benchmark) const;
    std::optional<double> counter(const QString &benchmark, const QString &name) const;
    QString cell(const QString &benchmark) const;
    void viewerRow(const QString &what, const QString &family, const QString &extra = {});

    QStringList converterInputs() const;

    const BenchResults &m_results;
    QString m_largest, m_x10, m_x100, m_rich;
    QString m_comparison; // of rtf2txt's text of m_rich with LibreOffice's
    QString m_out;
    QTextStream m_stream{&m_out};
};

std::optional<double> Report::median(const QString &benchmark) const
{
    const auto result = m_results.benchmark(benchmark);
    return result ? std::optional(result->time.median) : std::nullopt;
}

std::optional<double> Report::counter(const QString &benchmark, const QString &name) const
{
    const auto result = m_results.benchmark(benchmark);
    if (!result || !result->counters.contains(name))
        return std::nullopt;
    return result->counters.value(name);
}

QString Report::cell(const QString &benchmark) const
{
    const auto result = m_results.benchmark(benchmark);
    return result ? spread(result->time) : NotMeasured;
}

void Report::target(const QString &what, const QString &measured, std::optional<bool> met)
{
    row(what, measured,
        !met ? QStringLiteral("not measured")
             : (*met ? QStringLiteral("met") : QStringLiteral("**missed**")));
}

// A row of the targets' table.
void Report::row(const QString &what, const QString &measured, const QString &verdict)
{
    m_stream << "| " << what << " | " << measured << " | " << verdict << " |\n";
}

void Report::speedTarget(const QString &input, const QString &tool, double times)
{
    const QString what = QStringLiteral("rtf2txt ≥ %1× faster than %2 on %3")
                             .arg(times)
                             .arg(tool == u"soffice" ? QStringLiteral("LibreOffice") : tool, input);
    const auto ours = m_results.peer(input, QStringLiteral("rtf2txt"));
    speedTarget(what, ours ? std::optional(ours->median) : std::nullopt,
                m_results.peer(input, tool), times);
}

void Report::speedTarget(const QString &what, std::optional<double> ours,
                         const std::optional<Timing> &theirs, double times)
{
    if (!ours || !theirs || *ours <= 0) {
        target(what, NotMeasured, std::nullopt);
        return;
    }
    const double value = theirs->median / *ours;
    target(what,
           QStringLiteral("%1%2 (%3 against %4)")
               .arg(theirs->lowerBound ? QStringLiteral("≥ ") : QString(), ratio(value),
                    duration(theirs->median), duration(*ours)),
           value >= times);
}

void Report::timeTarget(const QString &what, const QString &benchmark, double limit)
{
    const auto result = m_results.benchmark(benchmark);
    // A run that stopped with an error has no time to hold against the limit.
    if (const auto error = m_results.error(benchmark))
        target(what, *error, false);
    else if (!result)
        target(what, NotMeasured, std::nullopt);
    else
        target(what, spread(result->time), result->time.median <= limit);
}

// How much faster than the input the time grows from one input to another:
// the ratio of the times divided by the ratio of the sizes.
std::optional<double> Report::growth(const QString &benchmark, const QString &from,
                                     const QString &to, const QString &counter) const
{
    const QString small = benchmark + u'/' + from;
    const QString large = benchmark + u'/' + to;
    const auto smallTime = median(small), largeTime = median(large);
    const auto smallSize = this->counter(small, counter), largeSize = this->counter(large, counter);
    if (!smallTime || !largeTime || !smallSize || !largeSize || *smallTime <= 0 || *smallSize <= 0)
        return std::nullopt;
    return (*largeTime / *smallTime) / (*largeSize / *smallSize);
}

// Time grows no faster than linearly: 100 times the input in at most 120
// times the time, so the growth stays within 1.2.
void Report::growthTarget(const QString &what, const QString &benchmark, const QString &from,
                          const QString &to, const QString &counter, const QString &baseline)
{
    const auto value = growth(benchmark, from, to, counter);
    if (!value) {
        target(what, NotMeasured, std::nullopt);
        return;
    }
    const double timeRatio = *median(benchmark + u'/' + to) / *median(benchmark + u'/' + from);
    const double sizeRatio = timeRatio / *value;
    QString measured =
        QStringLiteral("%1 the time for %2 the %3: %4 per unit of input")
            .arg(ratio(timeRatio), ratio(sizeRatio),
                 counter == u"in_bytes" ? QStringLiteral("bytes") : QStringLiteral("text"),
                 QString::number(*value, 'f', 2));
    if (const auto reference =
            baseline.isEmpty() ? std::nullopt : growth(baseline, from, to, counter))
        measured += QStringLiteral(" (one scan of the text in a QString: %1)")
                        .arg(QString::number(*reference, 'f', 2));
    target(what, measured, *value <= 1.2);
}

void Report::savedSizeTarget()
{
    const QString what = QStringLiteral("Saved %1 ≤ 1.5× the file it came from").arg(m_largest);
    const auto perSource =
        counter(QStringLiteral("SaveFile/") + m_largest, QStringLiteral("saved_per_source"));
    const auto saved =
        counter(QStringLiteral("SaveFile/") + m_largest, QStringLiteral("saved_bytes"));
    if (!perSource || !saved)
        target(what, NotMeasured, std::nullopt);
    else
        target(what,
               QStringLiteral("%1× (%2 bytes)")
                   .arg(QString::number(*perSource, 'f', 2))
                   .arg(qint64(*saved)),
               *perSource <= 1.5);
}

void Report::peakMemoryTarget()
{
    const QString what =
        QStringLiteral("Peak memory of the viewer showing %1 ≤ 120 MB").arg(m_largest);
    const auto rss =
        counter(QStringLiteral("PeakMemory/offscreen/largest"), QStringLiteral("peak_rss_MB"));
    if (!rss)
        target(what, NotMeasured, std::nullopt);
    else
        target(what, QString::number(*rss, 'f', 1) + QStringLiteral(" MB (offscreen)"),
               *rss <= 120);
}

void Report::targets()
{
    m_stream << "\n### Targets\n\n| Target | Measured | Result |\n|---|---|---|\n";
    for (const QString &input : {m_largest, m_x100}) {
        speedTarget(input, QStringLiteral("unrtf"), 5);
        speedTarget(input, QStringLiteral("soffice"), 20);
    }
    if (!m_rich.isEmpty()) {
        speedTarget(m_rich, QStringLiteral("unrtf"), 20);
        speedTarget(m_rich, QStringLiteral("soffice"), 30);
        target(QStringLiteral("rtf2txt's text of %1 equal to LibreOffice's").arg(m_rich),
               m_comparison.isEmpty() ? NotMeasured : m_comparison,
               m_comparison.isEmpty() ? std::nullopt
                                      : std::optional(m_comparison.startsWith(u"equal")));
    }
    timeTarget(QStringLiteral("LoadFile of %1 ≤ 20 ms").arg(m_largest),
               QStringLiteral("LoadFile/") + m_largest, 0.020);
    timeTarget(QStringLiteral("LoadFile of %1 ≤ 2 s").arg(m_x100),
               QStringLiteral("LoadFile/") + m_x100, 2.0);
    growthTarget(QStringLiteral("LoadFile grows linearly, %1 to %2").arg(m_largest, m_x100),
                 QStringLiteral("LoadFile"), m_largest, m_x100, QStringLiteral("in_bytes"));
    timeTarget(QStringLiteral("Choosing %1, click to first screen ≤ 20 ms").arg(m_largest),
               QStringLiteral("ClickToFirstScreen/") + m_largest, 0.020);
    timeTarget(QStringLiteral("Find with no match in %1 ≤ 5 ms").arg(m_largest),
               QStringLiteral("FindNoMatch/") + m_largest, 0.005);
    growthTarget(QStringLiteral("Find with no match grows linearly, %1 to %2").arg(m_x10, m_x100),
                 QStringLiteral("FindNoMatch"), m_x10, m_x100, QStringLiteral("characters"),
                 QStringLiteral("ScanBaseline"));
    timeTarget(QStringLiteral("SaveFile of %1 ≤ 20 ms").arg(m_largest),
               QStringLiteral("SaveFile/") + m_largest, 0.020);
    const std::pair<const char *, const char *> toolTips[] = {{"top", "ReferenceToolTip/"},
                                                              {"end", "ReferenceToolTipAtEnd/"}};
    for (const auto &[where, family] : toolTips) {
        timeTarget(QStringLiteral("Reference tooltip on hovering a number at the %1 of %2 ≤ 5 ms")
                       .arg(QLatin1StringView(where), m_largest),
                   QLatin1StringView(family) + m_largest, 0.005);
    }
    timeTarget(QStringLiteral("Click on a reference number in %1 until the panel shows it ≤ 20 ms")
                   .arg(m_largest),
               QStringLiteral("ReferenceClick/") + m_largest, 0.020);
    savedSizeTarget();
    // The PDF from the catalogue file in process, against a whole LibreOffice process.
    speedTarget(
        QStringLiteral("PDF of %1 from its file ≥ 5× faster than LibreOffice").arg(m_largest),
        median(QStringLiteral("PdfFromFile/") + m_largest),
        m_results.peer(m_largest, QStringLiteral("sofficepdf")), 5);
    timeTarget(QStringLiteral("Start-up to first paint ≤ 300 ms (offscreen, sample data set)"),
               QStringLiteral("Startup/offscreen/sample"), 0.300);
    peakMemoryTarget();
    searchTargets();
    strataTargets();
    loadingTarget();
    largeViewTargets();
}

// The faster of the two in-memory scans that count the lines holding the genus name.
void Report::searchTargets()
{
    timeTarget(QStringLiteral("Search index of the sample data set built ≤ 100 ms"),
               QStringLiteral("SearchIndexBuild/sample"), 0.100);
    const QString keystroke = QStringLiteral("SearchKeystroke/%1/%2");
    for (const auto &[set, limit] :
         {std::pair{QStringLiteral("sample"), 0.005}, std::pair{QStringLiteral("x10set"), 0.050}}) {
        const QString ms = QString::number(limit * 1e3);
        timeTarget(QStringLiteral("Search of a genus name in %1, keystroke to results painted ≤ %2 "
                                  "ms")
                       .arg(set, ms),
                   keystroke.arg(set, QStringLiteral("genus")), limit);
        timeTarget(QStringLiteral("Search without a match in %1 ≤ %2 ms").arg(set, ms),
                   keystroke.arg(set, QStringLiteral("none")), limit);
        timeTarget(QStringLiteral("Search matching thousands of lines in %1, first screen ≤ %2 ms")
                       .arg(set, ms),
                   keystroke.arg(set, QStringLiteral("common")), limit);
        // On text that holds characters outside Windows-1251 as on any.
        const auto outside = counter(QStringLiteral("SearchIndexBuild/%1").arg(set),
                                     QStringLiteral("outside_1251_share"));
        const QString what =
            QStringLiteral("Search of a genus name in %1 ≤ 3× a memmem() scan of the same texts "
                           "(%2 % of their lines with characters outside Windows-1251)")
                .arg(set, QString::number(outside.value_or(0) * 100, 'f', 1));
        for (const auto &[kind, query] :
             {std::pair{QStringLiteral("genus"), QStringLiteral("a genus name")},
              std::pair{QStringLiteral("common"),
                        QStringLiteral("thousands of lines, first screen")}}) {
            const QString name = keystroke.arg(set, kind);
            const auto ratio = counter(name, QStringLiteral("ranked_per_unranked"));
            const QString what =
                QStringLiteral("Ranking adds ≤ 10 % to a keystroke in %1, %2").arg(set, query);
            if (!ratio)
                target(what, NotMeasured, std::nullopt);
            else
                target(what,
                       QStringLiteral("%1 % (median of each iteration's ranked over unranked time)")
                           .arg(QString::number((*ratio - 1) * 100, 'f', 1)),
                       *ratio <= 1.10);
        }
        const auto ours = median(keystroke.arg(set, QStringLiteral("genus")));
        const auto scan = median(QStringLiteral("SearchScanMemmem/%1/genus").arg(set));
        if (!ours || !scan || *scan <= 0)
            target(what, NotMeasured, std::nullopt);
        else
            target(what,
                   QStringLiteral("%1 (%2 against %3)")
                       .arg(ratio(*ours / *scan), duration(*ours), duration(*scan)),
                   *ours / *scan <= 3);
    }
    const QString build = QStringLiteral("SearchIndexBuild/sample");
    const auto perText = counter(build, QStringLiteral("memory_per_text"));
    const auto perUtf8 = counter(build, QStringLiteral("memory_per_utf8"));
    const auto bytes = counter(build, QStringLiteral("index_bytes"));
    if (!perText || !perUtf8 || !bytes)
        target(QStringLiteral("Search index memory ≤ 2× the text"), NotMeasured, std::nullopt);
    else
        target(QStringLiteral("Search index memory ≤ 2× the text"),
               QStringLiteral("%1× the text held as UTF-16 (%2 bytes; %3× its UTF-8 size)")
                   .arg(QString::number(*perText, 'f', 2))
                   .arg(qint64(*bytes))
                   .arg(QString::number(*perUtf8, 'f', 2)),
               *perText <= 2);
}

// The view on the catalogues of fosdat-bench-scroll, named by their genera.
void Report::largeViewTargets()
{
    const std::pair<const char *, double> limits[] = {{"JumpToLast/", 0.100},
                                                      {"PageScroll/", 0.016}};
    for (const auto &[family, limit] : limits) {
        for (const QString &name : m_results.names(QLatin1StringView(family))) {
            timeTarget(QStringLiteral("%1 genera: %2 until painted ≤ %3 ms")
                           .arg(name.section(u'/', 1),
                                family[0] == 'J' ? QStringLiteral("Ctrl+End")
                                                 : QStringLiteral("PageDown in the middle"))
                           .arg(limit * 1e3),
                       name, limit);
        }
    }
}

void Report::largeView()
{
    m_stream << "\n### The view on large catalogues\n\n"
                "Each catalogue in place of CEPH1, in the shown window, until painted; the "
                "process's peak memory after the row (the rows run in this order).\n\n"
                "| Benchmark | Time | Peak memory |\n|---|---|---|\n";
    for (const char *family : {"GroupClickFirstPaint/", "JumpToLast/", "PageScroll/"}) {
        for (const QString &name : m_results.names(QLatin1StringView(family))) {
            const auto peak = counter(name, QStringLiteral("peak_rss_MB"));
            m_stream << "| " << name << " | " << m_results.error(name).value_or(cell(name)) << " | "
                     << (peak ? QString::number(*peak, 'f', 0) + QStringLiteral(" MB")
                              : NotMeasured)
                     << " |\n";
        }
    }
}

QStringList Report::loadingNames() const
{
    return m_results.names(QStringLiteral("WindowLoad/")) +
           m_results.names(QStringLiteral("ReferenceListLoad/"));
}

// The targets every file loaded in the window must meet; those it missed.
QStringList Report::loadingMisses(const QString &name) const
{
    const auto value = [&](const char *counter) {
        return this->counter(name, QString::fromLatin1(counter)).value_or(-1);
    };
    QStringList missed;
    if (const auto error = m_results.error(name))
        missed << *error;
    if (value("key_answer_ms") < 0 || value("key_answer_ms") > 100)
        missed << QStringLiteral("F9");
    if (value("longest_block_ms") < 0 || value("longest_block_ms") >= 50)
        missed << QStringLiteral("block");
    if (value("shown_ms") < 0 || value("shown_ms") > 5000)
        missed << QStringLiteral("shown");
    if (value("peak_rss_MB") < 0 || value("peak_rss_MB") > value("memory_limit_MB"))
        missed << QStringLiteral("memory");
    return missed;
}

void Report::loadingTarget()
{
    const QString what = QStringLiteral("Every file loaded in the window: F9 answered ≤ 100 ms, "
                                        "no block ≥ 50 ms, shown ≤ 5 s, peak memory ≤ 10× the "
                                        "file + 100 MB");
    const QStringList names = loadingNames();
    if (names.isEmpty()) {
        target(what, NotMeasured, std::nullopt);
        return;
    }
    const auto met = std::count_if(names.cbegin(), names.cend(), [this](const QString &name) {
        return loadingMisses(name).isEmpty();
    });
    target(what, QStringLiteral("%1 of %2 files").arg(met).arg(names.size()), met == names.size());
}

void Report::inputs()
{
    m_stream << "### Inputs\n\n| Input | Size |\n|---|---|\n";
    const QMap<QString, QString> &context = m_results.context();
    for (const QString &name :
         {QStringLiteral("all-catalogues"), m_largest, m_x10, m_x100, QStringLiteral("x10set")})
        m_stream << "| " << name << " | " << context.value(name, NotMeasured) << " |\n";
    m_stream << "\nMachine load when each benchmark program started (1, 5, 15 minutes): ";
    QStringList loads;
    for (auto it = context.begin(); it != context.end(); ++it) {
        if (it.key().startsWith(u"load at start of "))
            loads << it.key().mid(17) + u' ' + it.value();
    }
    m_stream << (loads.isEmpty() ? NotMeasured : loads.join(u"; ")) << ".\n";
}

void Report::viewerRow(const QString &what, const QString &family, const QString &extra)
{
    m_stream << "| " << what;
    for (const QString &input : {m_largest, m_x10, m_x100}) {
        const QString name = family + u'/' + input;
        m_stream << " | " << cell(name);
        if (!extra.isEmpty()) {
            if (const auto value = extra.isEmpty() ? std::nullopt : counter(name, extra))
                m_stream << " · " << QString::number(*value / (1024 * 1024), 'f', 0) << " MB/s";
        }
    }
    m_stream << " |\n";
}

void Report::viewer()
{
    m_stream << "\n### The viewer, in process\n\n| Operation | " << m_largest << " | " << m_x10
             << " | " << m_x100 << " |\n|---|---|---|---|\n";
    viewerRow(QStringLiteral("RTF reading into a document"), QStringLiteral("Read"),
              QStringLiteral("bytes_per_second"));
    viewerRow(QStringLiteral("RTF reading, text only (as rtf2txt)"), QStringLiteral("ReadText"),
              QStringLiteral("bytes_per_second"));
    viewerRow(QStringLiteral("LoadFile, first screen painted"), QStringLiteral("LoadFile"));
    viewerRow(QStringLiteral("LoadFile, whole document laid out"),
              QStringLiteral("LoadFileFullLayout"));
    viewerRow(QStringLiteral("Find, no match"), QStringLiteral("FindNoMatch"));
    viewerRow(QStringLiteral("Find, match near the end"), QStringLiteral("FindNearEnd"));
    viewerRow(QStringLiteral("Find, no match, first search after the load"),
              QStringLiteral("FindAfterLoad"));
    viewerRow(QStringLiteral("For comparison: one scan of the text held in a QString"),
              QStringLiteral("ScanBaseline"));
    viewerRow(QStringLiteral("SaveFile"), QStringLiteral("SaveFile"));
    viewerRow(QStringLiteral("Longest event-loop block, Ctrl+P until the preview shows"),
              QStringLiteral("PrintPreviewBlock"));
    viewerRow(QStringLiteral("Longest event-loop block, load until laid out"),
              QStringLiteral("EventLoopBlock"));
    m_stream << "| Of which: LoadFile · longest later gap · layout done after";
    for (const QString &input : {m_largest, m_x10, m_x100}) {
        const QString name = QStringLiteral("EventLoopBlock/") + input;
        const auto load = counter(name, QStringLiteral("load_ms"));
        const auto gap = counter(name, QStringLiteral("layout_gap_ms"));
        const auto done = counter(name, QStringLiteral("layout_done_ms"));
        m_stream << " | "
                 << (load && gap && done ? QStringLiteral("%1 · %2 · %3")
                                               .arg(duration(*load / 1e3), duration(*gap / 1e3),
                                                    duration(*done / 1e3))
                                         : NotMeasured);
    }
    m_stream << " |\n\n| Operation | Time |\n|---|---|\n";
    const auto all = m_results.benchmark(QStringLiteral("Read/all-catalogues"));
    m_stream << "| RTF reading of every sample catalogue | "
             << (all ? spread(all->time) +
                           QStringLiteral(" · %1 MB/s")
                               .arg(all->counters.value(QStringLiteral("bytes_per_second")) /
                                        (1024 * 1024),
                                    0, 'f', 0)
                     : NotMeasured)
             << " |\n";
    for (int list = 1; list <= 3; ++list) {
        const QString name = QStringLiteral("ReferenceList/REFS%1.txt").arg(list);
        m_stream << "| Reference list " << list << ", click to first screen painted | "
                 << cell(name) << " |\n";
    }
    m_stream << "| Reference number at the top of " << m_largest << ", hover to tooltip painted | "
             << cell(QStringLiteral("ReferenceToolTip/") + m_largest)
             << " |\n| Reference number at the end of " << m_largest
             << ", hover to tooltip painted | "
             << cell(QStringLiteral("ReferenceToolTipAtEnd/") + m_largest)
             << " |\n| Reference number in " << m_largest
             << ", click to the panel painted with its entry at the top | "
             << cell(QStringLiteral("ReferenceClick/") + m_largest) << " |\n";
    const auto pdf = m_results.peer(m_largest, QStringLiteral("sofficepdf"));
    m_stream << "| PDF export of " << m_largest << ", shown document to file on disk | "
             << cell(QStringLiteral("PdfExport/") + m_largest) << " |\n| PDF of " << m_largest
             << " from its file, reading included | "
             << cell(QStringLiteral("PdfFromFile/") + m_largest)
             << " |\n| Peer: LibreOffice --convert-to pdf of " << m_largest << " (whole process) | "
             << (pdf ? spread(*pdf) : NotMeasured) << " |\n";
    for (const char *input : {"rich", "paragraph-52mb"}) {
        m_stream << "| Print preview of " << input
                 << ", longest event-loop block from Ctrl+P until it shows | "
                 << cell(QStringLiteral("PrintPreviewBlock/") + QLatin1String(input)) << " |\n";
    }
}

void Report::startup()
{
    m_stream << "\n### Start-up of the viewer, process launch to first paint\n\n"
                "| Data set | offscreen | Xvfb | peak memory, offscreen | peak memory, Xvfb |\n"
                "|---|---|---|---|---|\n";
    const QStringList sets = {QStringLiteral("sample"), QStringLiteral("largest"), m_x100};
    for (const QString &set : sets) {
        m_stream << "| " << set;
        for (const QString &platform : {QStringLiteral("offscreen"), QStringLiteral("xcb")})
            m_stream << " | " << cell(QStringLiteral("Startup/%1/%2").arg(platform, set));
        for (const QString &platform : {QStringLiteral("offscreen"), QStringLiteral("xcb")}) {
            const auto rss = counter(QStringLiteral("PeakMemory/%1/%2").arg(platform, set),
                                     QStringLiteral("peak_rss_MB"));
            m_stream << " | "
                     << (rss ? QString::number(*rss, 'f', 1) + QStringLiteral(" MB") : NotMeasured);
        }
        m_stream << " |\n";
    }
}

void Report::loadingRow(const QString &name)
{
    const auto figure = [&](const char *counter) -> QString {
        const auto value = this->counter(name, QString::fromLatin1(counter));
        return value && *value >= 0 ? duration(*value / 1e3) : QStringLiteral("–");
    };
    const auto bytes = counter(name, QStringLiteral("in_bytes"));
    const auto peak = counter(name, QStringLiteral("peak_rss_MB"));
    const auto limit = counter(name, QStringLiteral("memory_limit_MB"));
    const QStringList missed = loadingMisses(name);
    m_stream << "| " << name.section(u'/', 1) << " | "
             << (bytes ? QString::number(*bytes / (1024 * 1024), 'f', 1) + QStringLiteral(" MB")
                       : NotMeasured)
             << " | " << figure("shown_ms") << " | " << figure("laid_out_ms") << " | "
             << figure("longest_block_ms") << " | " << figure("key_answer_ms") << " | "
             << (peak && limit
                     ? QStringLiteral("%1 MB (%2 MB)").arg(*peak, 0, 'f', 0).arg(*limit, 0, 'f', 0)
                     : NotMeasured)
             << " | "
             << (missed.isEmpty() ? QStringLiteral("met")
                                  : QStringLiteral("**missed**: ") + missed.join(u", "))
             << " |\n";
}

// One process per file: the window shows its start-up catalogue, then the
// file's group is chosen (its reference link clicked) and the load watched.
void Report::loading()
{
    m_stream << "\n### Loading in the window, one process per file\n\n"
                "| File | Size | Shown after | Laid out after | Longest block | F9 answered within "
                "| Peak memory (limit) | Result |\n|---|---|---|---|---|---|---|---|\n";
    const QStringList names = loadingNames();
    if (names.isEmpty())
        m_stream << "| " << NotMeasured << " | | | | | | | |\n";
    for (const QString &name : names)
        loadingRow(name);
}

QStringList Report::converterInputs() const
{
    QStringList inputs{m_largest, m_x10, m_x100};
    if (!m_rich.isEmpty())
        inputs << m_rich;
    return inputs;
}

void Report::peers()
{
    m_stream << "\n### Peers, whole processes writing plain text\n\n"
                "| File | rtf2txt | unrtf --text | LibreOffice --convert-to txt | unrtf / rtf2txt "
                "| LibreOffice / rtf2txt |\n|---|---|---|---|---|---|\n";
    for (const QString &input : converterInputs()) {
        const auto ours = m_results.peer(input, QStringLiteral("rtf2txt"));
        m_stream << "| " << input << " | " << (ours ? spread(*ours) : NotMeasured);
        for (const QString &tool : {QStringLiteral("unrtf"), QStringLiteral("soffice")}) {
            const auto theirs = m_results.peer(input, tool);
            m_stream << " | " << (theirs ? spread(*theirs) : NotMeasured);
        }
        for (const QString &tool : {QStringLiteral("unrtf"), QStringLiteral("soffice")}) {
            const auto theirs = m_results.peer(input, tool);
            m_stream << " | "
                     << (ours && theirs ? (theirs->lowerBound ? QStringLiteral("≥ ") : QString()) +
                                              ratio(theirs->median / ours->median)
                                        : NotMeasured);
        }
        m_stream << " |\n";
    }
}

void Report::search()
{
    m_stream
        << "\n### Search over every catalogue\n\n| Operation | sample | x10set |\n|---|---|---|\n";
    const auto row = [this](const QString &what, const QString &family, const QString &extra = {}) {
        m_stream << "| " << what;
        for (const QString &set : {QStringLiteral("sample"), QStringLiteral("x10set")}) {
            const QString name = family.arg(set);
            m_stream << " | " << cell(name);
            if (const auto value = extra.isEmpty() ? std::nullopt : counter(name, extra)) {
                m_stream << " · "
                         << (extra == u"text_chars"
                                 ? QStringLiteral("%1 characters").arg(qint64(*value))
                                 : QStringLiteral("all rows after %1 ms")
                                       .arg(QString::number(*value, 'f', 1)));
            }
        }
        m_stream << " |\n";
    };
    // The same keystroke with the results unranked, typed in the same iterations.
    const auto unrankedRow = [this](const QString &family) {
        m_stream << "| The same, unranked";
        for (const QString &set : {QStringLiteral("sample"), QStringLiteral("x10set")}) {
            const auto unranked = counter(family.arg(set), QStringLiteral("unranked_ms"));
            m_stream << " | " << (unranked ? duration(*unranked / 1e3) : NotMeasured);
        }
        m_stream << " |\n";
    };
    row(QStringLiteral("Index built, in the worker"), QStringLiteral("SearchIndexBuild/%1"),
        QStringLiteral("text_chars"));
    row(QStringLiteral("Keystroke to results painted: a genus name"),
        QStringLiteral("SearchKeystroke/%1/genus"));
    unrankedRow(QStringLiteral("SearchKeystroke/%1/genus"));
    row(QStringLiteral("Keystroke to results painted: no match"),
        QStringLiteral("SearchKeystroke/%1/none"));
    unrankedRow(QStringLiteral("SearchKeystroke/%1/none"));
    row(QStringLiteral("Keystroke to first screen painted: \"Camp\", thousands of lines"),
        QStringLiteral("SearchKeystroke/%1/common"), QStringLiteral("all_rows_ms"));
    unrankedRow(QStringLiteral("SearchKeystroke/%1/common"));
    row(QStringLiteral("Eight letters typed without waiting, to the last results painted"),
        QStringLiteral("SearchTyping/%1"));
    row(QStringLiteral("Peer: lines holding the genus name counted with QString::indexOf"),
        QStringLiteral("SearchScanIndexOf/%1/genus"));
    row(QStringLiteral("Peer: the same with memmem() over case-folded text"),
        QStringLiteral("SearchScanMemmem/%1/genus"));
    m_stream << "| Peer: `rtf2txt` on every catalogue, piped to `grep -i` (whole processes)";
    for (const QString &set : {QStringLiteral("sample"), QStringLiteral("x10set")}) {
        const auto theirs = m_results.peer(set, QStringLiteral("rtf2txtgrep"));
        const auto ours = median(QStringLiteral("SearchKeystroke/%1/genus").arg(set));
        m_stream << " | " << (theirs ? spread(*theirs) : NotMeasured);
        if (theirs && ours && *ours > 0)
            m_stream << " · " << ratio(theirs->median / *ours) << " our time";
    }
    m_stream << " |\n";
}

// Reading the ranges and counting them rides on the text the search index
// reads: it must cost a small part of that reading, on catalogues formatted
// as real ones are (x10rich, onerich). The plainly formatted sets are shown
// beside them: their text is the same kind, but the index reads it faster.
void Report::strataTargets()
{
    struct Set {
        QString name;
        bool real; // formatted as a real catalogue is: the target holds there
    };
    for (const auto &[set, real] :
         {Set{QStringLiteral("x10rich"), true}, Set{QStringLiteral("onerich"), true},
          Set{QStringLiteral("sample"), false}, Set{QStringLiteral("x10set"), false}}) {
        const QString what =
            (real ? QStringLiteral("Ranges of every catalogue in %1 read and counted ≤ 10 % of the "
                                   "index's reading them")
                  : QStringLiteral("The same share in %1, plainly formatted (for comparison)"))
                .arg(set);
        const auto ours = median(QStringLiteral("StrataReadAndCount/") + set);
        const auto index = median(QStringLiteral("StrataIndexRead/") + set);
        if (!ours || !index || *index <= 0) {
            target(what, NotMeasured, std::nullopt);
            continue;
        }
        const QString measured = QStringLiteral("%1 % (%2 against %3)")
                                     .arg(QString::number(100 * *ours / *index, 'f', 1),
                                          duration(*ours), duration(*index));
        if (real)
            target(what, measured, *ours / *index <= 0.10);
        else
            row(what, measured, QStringLiteral("—"));
    }
    for (const auto &[kind, what] : DiversityChanges) {
        timeTarget(QStringLiteral("Diversity window on the sample, %1 until the plot is repainted "
                                  "≤ 16 ms")
                       .arg(QLatin1StringView(what)),
                   QStringLiteral("DiversityFilterChange/%1/sample").arg(QLatin1StringView(kind)),
                   0.016);
    }
    timeTarget(QStringLiteral("Diversity figure of the sample written as SVG ≤ 200 ms"),
               QStringLiteral("DiversityExportSvg/sample"), 0.200);
}

void Report::strata()
{
    m_stream << "\n### Ranges through time\n\n| Operation | sample | x10set |\n|---|---|---|\n";
    const auto row = [this](const QString &what, const QString &family, const QString &extra) {
        m_stream << "| " << what;
        for (const QString &set : {QStringLiteral("sample"), QStringLiteral("x10set")}) {
            const QString name = family + set;
            m_stream << " | " << cell(name);
            if (const auto value = extra.isEmpty() ? std::nullopt : counter(name, extra))
                m_stream << " · " << qint64(*value)
                         << (extra == u"entries" ? " entries" : " characters");
        }
        m_stream << " |\n";
    };
    row(QStringLiteral("The index's own build from every catalogue: file, text, held"),
        QStringLiteral("StrataIndexRead/"), QStringLiteral("text_chars"));
    row(QStringLiteral("Genus entries read from those texts and counted per stage"),
        QStringLiteral("StrataReadAndCount/"), QStringLiteral("entries"));
    row(QStringLiteral("Counted again after a change of filter (half the groups, a text test)"),
        QStringLiteral("StrataRecount/"), QStringLiteral("entries"));
    for (const auto &[kind, what] : DiversityChanges) {
        row(QStringLiteral("Diversity window: %1, until the plot is repainted")
                .arg(QLatin1StringView(what)),
            QStringLiteral("DiversityFilterChange/%1/").arg(QLatin1StringView(kind)), {});
    }
    for (const char *format : {"Svg", "Png", "Pdf"}) {
        row(QStringLiteral("Diversity figure written as %1, to the file on disk")
                .arg(QString::fromLatin1(format).toUpper()),
            QStringLiteral("DiversityExport%1/").arg(QLatin1StringView(format)), {});
    }
    row(QStringLiteral("Durations of every genus counted, worked out and written as CSV"),
        QStringLiteral("DiversityExportDurations/"), {});
}

QString Report::render()
{
    m_stream << "Each time is the median of the repetitions, with the lowest and highest in "
                "brackets; ≥ marks a peer stopped at the time limit.\n\n";
    inputs();
    targets();
    viewer();
    startup();
    loading();
    largeView();
    peers();
    search();
    strata();
    m_stream.flush();
    return m_out;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 4 && arguments.size() != 5) {
        std::fprintf(stderr, "usage: fosdat-bench-report RESULTS_DIR LARGEST X10 X100 [RICH]\n");
        return 2;
    }
    QStringList errors;
    const BenchResults results = BenchResults::load(arguments[0], &errors);
    for (const QString &error : std::as_const(errors))
        std::fprintf(stderr, "fosdat-bench-report: %s\n", qPrintable(error));
    QString comparison;
    if (arguments.size() == 5) {
        QFile file(QDir(arguments[0]).filePath(QStringLiteral("compare-%1.txt").arg(arguments[4])));
        if (file.open(QIODevice::ReadOnly))
            comparison = QString::fromUtf8(file.readAll()).trimmed();
    }
    const QByteArray summary =
        Report(results, arguments.mid(1), std::move(comparison)).render().toUtf8();
    std::fwrite(summary.constData(), 1, size_t(summary.size()), stdout);
    return errors.isEmpty() ? 0 : 1;
}
