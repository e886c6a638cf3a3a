// The search over every catalogue: building its index, a query from the
// keystroke to the results painted in the search window, and the scans it is
// measured against, on the sample data set and larger data sets.
#include "BenchCommon.h"
#include "CatalogueIndex.h"
#include "CatalogueSearch.h"
#include "NoDialogs.h"
#include "SearchCommands.h"
#include "SearchWindow.h"
#include "ShownView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringDecoder>
#include <QStringTokenizer>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <malloc.h>
#include <vector>

namespace fosdat::bench
{

namespace
{

// Not a word of any catalogue: the search runs through every text.
const QString NoMatch = QStringLiteral("Qzxqvjk");
// In thousands of lines: a stage of the Cretaceous.
const QString Common = QStringLiteral("Camp");

// Runs the event loop until one of the `wanted` signals of `sender` comes, or 10 s pass.
template <typename... Signals> bool waitFor(const CatalogueSearch *sender, Signals... wanted)
{
    QEventLoop loop;
    QTimer::singleShot(10'000, &loop, [&loop] { loop.exit(1); });
    (QObject::connect(sender, wanted, &loop, [&loop] { loop.quit(); }), ...);
    return loop.exec() == 0;
}

// The genus of the last entry of the last group that has one, as the
// catalogue model reads it: a genus name that the search finds near the end
// of its scan, whatever the catalogue's last line holds.
QString lastGenus(const catalogue::CatalogueEntries &entries)
{
    return entries.size() > 0 ? entries.at(entries.size() - 1).genus().toString() : NoMatch;
}

QString queryText(const QString &kind, const catalogue::CatalogueEntries &entries)
{
    return kind == u"genus" ? lastGenus(entries) : kind == u"none" ? NoMatch : Common;
}

// A counter that is always 0 would give its deviation over the mean as NaN,
// which the JSON output cannot hold; such a counter is left out.
void count(benchmark::State &state, const char *name, double value)
{
    if (value != 0)
        state.counters[name] = value;
}

qsizetype heapInUse()
{
    return qsizetype(mallinfo2().uordblks);
}

// Whether a paragraph holds a character that the catalogues' old code page,
// Windows-1251, has no byte for: an author's ü, é, č or ł, a sign such as ×
// or ≈. Real catalogues hold such characters in about one entry in eight.
bool outsideWindows1251(QStringView paragraph)
{
    static const QString codePage = []() -> QString {
        QByteArray bytes;
        for (int byte = 0; byte < 256; ++byte)
            bytes.append(char(byte));
        return QStringDecoder("windows-1251", QStringDecoder::Flag::Stateless).decode(bytes);
    }();
    return std::any_of(paragraph.begin(), paragraph.end(), [](QChar c) {
        return c != QChar::ReplacementCharacter && !codePage.contains(c);
    });
}

// The size of the texts, and the share of their paragraphs that hold a
// character outside Windows-1251, which the search must scan as fast as any.
void recordText(benchmark::State &state, const catalogue::Catalogues &texts)
{
    qsizetype utf8 = 0, paragraphs = 0, outside = 0;
    for (int group = 0; group < catalogue::GroupCount; ++group) {
        const QString &text = texts.at(group).text;
        utf8 += text.toUtf8().size();
        for (const QStringView paragraph : QStringTokenizer(text, u'\n')) {
            ++paragraphs;
            outside += outsideWindows1251(paragraph);
        }
    }
    state.counters["text_chars"] = double(texts.characters());
    state.counters["text_utf8_bytes"] = double(utf8);
    count(state, "outside_1251_share", paragraphs > 0 ? double(outside) / double(paragraphs) : 0);
}

// From nothing to an index ready for the first query, as the program builds
// it: the model's texts read, their entries and the index, in the worker,
// handed back to the event loop. The memory is the heap that a second index
// takes over the same texts, and that the texts take.
void indexBuild(benchmark::State &state, const DataSet &set)
{
    QDir::setCurrent(set.dir);
    for (auto _ : state) {
        state.PauseTiming();
        auto search = std::make_unique<CatalogueSearch>();
        state.ResumeTiming();
        search->prepare();
        if (!waitFor(search.get(), &CatalogueSearch::indexReady)) {
            state.SkipWithError("the index was not built");
            return;
        }
        state.PauseTiming();
        search.reset();
        state.ResumeTiming();
    }
    qsizetype before = heapInUse();
    const catalogue::CataloguesPtr texts = readCatalogues(set);
    const double textHeap = double(heapInUse() - before);
    before = heapInUse();
    auto index = std::make_unique<CatalogueIndex>();
    index->update(texts);
    const double heap = double(heapInUse() - before);
    recordText(state, *texts);
    const double utf16 = double(texts->characters()) * 2;
    state.counters["text_bytes"] = textHeap;
    state.counters["index_bytes"] = heap;
    state.counters["memory_per_text"] = heap / utf16;
    state.counters["memory_per_utf8"] = heap / state.counters["text_utf8_bytes"];
    if (!texts->unread().isEmpty())
        state.SkipWithError("a catalogue was not read");
}

// The search window on a data set, its index built.
class ShownSearch
{
public:
    explicit ShownSearch(const DataSet &set)
        : m_commands(m_dialogs, [] { return nullptr; }), m_entries(readEntries(readCatalogues(set)))
    {
        QDir::setCurrent(set.dir);
        m_commands.openSearchWindow();
        waitUntilExposed(window());
        m_ready = waitFor(&search(), &CatalogueSearch::indexReady);
        QObject::connect(&search(), &CatalogueSearch::resultsFound, &window(),
                         [this](const SearchResults &batch) { m_rows += batch.matches.size(); });
        QObject::connect(&search(), &CatalogueSearch::resultsReset, &window(),
                         [this] { m_rows = 0; });
    }

    bool ready() const { return m_ready; }
    SearchWindow &window() { return *m_commands.searchWindow(); }
    CatalogueSearch &search() { return m_commands.catalogueSearch(); }
    QLineEdit &field() { return *window().findChild<QLineEdit *>(QStringLiteral("searchText")); }
    const catalogue::CatalogueEntries &entries() const { return *m_entries; }
    qsizetype rows() const { return m_rows; }

    // Paints what the window has not painted yet, as the event loop would
    // next; the paint that the loop did while results came in was timed there.
    void paint() { QApplication::sendPostedEvents(&window(), QEvent::UpdateRequest); }

    // One key press and release that types `c` into the field.
    void type(QChar c)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&field(), &press);
        QApplication::sendEvent(&field(), &release);
    }

private:
    NoDialogs m_dialogs;
    SearchCommands m_commands;
    catalogue::EntriesPtr m_entries; // of the same texts, for choosing queries
    bool m_ready = false;
    qsizetype m_rows = 0;
};

// The field holds all but the query's last letter; the timing runs from the
// key press that types it until the window has painted the results, or with
// `firstScreen` the first of them (the rest come in while the user reads).
// Each iteration types the letter twice, the results ranked and unranked (as
// they were listed before ranking: every match in group order), in turns
// which first, so that both meet the same load of the machine. The ranked
// time is the benchmark's; the counters hold the unranked one, as the same
// mean, and the median of each iteration's ranked time over its unranked one.
void keystroke(benchmark::State &state, const DataSet &set, const QString &kind, bool firstScreen)
{
    ShownSearch shown(set);
    if (!shown.ready()) {
        state.SkipWithError("the index was not built");
        return;
    }
    const QString query = queryText(kind, shown.entries());
    bool finished = false;
    QObject::connect(&shown.search(), &CatalogueSearch::searchFinished, &shown.window(),
                     [&finished] { finished = true; });
    double filled = 0;
    // The time to the results painted, in seconds; negative when none came.
    const auto once = [&](bool ranked) -> double {
        shown.search().setRanked(ranked);
        shown.field().setText(query.chopped(1));
        QApplication::processEvents();
        finished = false;
        QElapsedTimer clock;
        clock.start();
        shown.type(query.back());
        const bool shownSome = firstScreen
                                   ? waitFor(&shown.search(), &CatalogueSearch::searchFinished,
                                             &CatalogueSearch::resultsFound)
                                   : waitFor(&shown.search(), &CatalogueSearch::searchFinished);
        if (!shownSome)
            return -1;
        shown.paint();
        const double time = double(clock.nsecsElapsed()) / 1e9;
        if (!finished)
            waitFor(&shown.search(), &CatalogueSearch::searchFinished);
        if (ranked)
            filled = std::max(filled, double(clock.nsecsElapsed()) / 1e6);
        return time;
    };
    double unranked = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        const bool rankedFirst = ratios.size() % 2 == 0;
        const double first = once(rankedFirst);
        const double second = once(!rankedFirst);
        if (first <= 0 || second <= 0) {
            state.SkipWithError("no results");
            return;
        }
        state.SetIterationTime(rankedFirst ? first : second);
        unranked += rankedFirst ? second : first;
        ratios.push_back(rankedFirst ? first / second : second / first);
    }
    if (!ratios.empty()) {
        state.counters["unranked_ms"] = unranked * 1e3 / double(ratios.size());
        state.counters["ranked_per_unranked"] = medianOf(ratios);
    }
    count(state, "rows", double(shown.rows()));
    state.counters["all_rows_ms"] = filled;
    state.SetLabel(query.toStdString());
}

// The user types the genus name letter by letter, faster than the searches
// finish; every key lets the event loop run once. Timed from the first key
// to the last search's results painted: the searches made stale on the way
// are cancelled.
void typing(benchmark::State &state, const DataSet &set)
{
    ShownSearch shown(set);
    if (!shown.ready()) {
        state.SkipWithError("the index was not built");
        return;
    }
    const QString query = lastGenus(shown.entries()).left(8);
    bool finished = false;
    QObject::connect(&shown.search(), &CatalogueSearch::searchFinished, &shown.window(),
                     [&finished] { finished = true; });
    for (auto _ : state) {
        shown.field().clear();
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        for (const QChar c : query) {
            shown.type(c);
            finished = false; // only the last search's end counts
            QApplication::processEvents();
        }
        if (!finished && !waitFor(&shown.search(), &CatalogueSearch::searchFinished)) {
            state.SkipWithError("no results");
            return;
        }
        shown.paint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["keys"] = double(query.size());
    state.SetLabel(query.toStdString());
}

// What `grep -F -i -c` does, on the same texts held in memory: the lines that
// hold the query, ignoring case, counted.
qsizetype countLinesIndexOf(const QString &text, const QString &query)
{
    qsizetype lines = 0;
    for (qsizetype at = text.indexOf(query, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(query, at, Qt::CaseInsensitive)) {
        ++lines;
        at = text.indexOf(u'\n', at);
        if (at < 0)
            break;
    }
    return lines;
}

// The same over text whose case was folded beforehand, with the C library's
// memmem(): the fastest plain scan at hand.
qsizetype countLinesMemmem(const QString &folded, const QString &query)
{
    const char *begin = reinterpret_cast<const char *>(folded.constData());
    const size_t size = size_t(folded.size()) * sizeof(QChar);
    const size_t length = size_t(query.size()) * sizeof(QChar);
    qsizetype lines = 0;
    size_t offset = 0;
    while (offset < size) {
        const void *found = memmem(begin + offset, size - offset, query.constData(), length);
        if (!found)
            break;
        const size_t at = size_t(static_cast<const char *>(found) - begin);
        if (at % sizeof(QChar) != 0) { // half of one character and half of the next
            offset = at + 1;
            continue;
        }
        ++lines;
        const qsizetype end = folded.indexOf(u'\n', qsizetype(at / sizeof(QChar)));
        if (end < 0)
            break;
        offset = size_t(end) * sizeof(QChar);
    }
    return lines;
}

void scanPeer(benchmark::State &state, const DataSet &set, const QString &kind, bool folded)
{
    const catalogue::CataloguesPtr catalogues = readCatalogues(set);
    QString query = queryText(kind, *readEntries(catalogues));
    QList<QString> texts;
    for (int group = 0; group < catalogue::GroupCount; ++group) {
        const QString &text = catalogues->at(group).text;
        texts << (folded ? text.toCaseFolded() : text);
    }
    if (folded)
        query = query.toCaseFolded();
    qsizetype lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (const QString &text : std::as_const(texts))
            lines += folded ? countLinesMemmem(text, query) : countLinesIndexOf(text, query);
        benchmark::DoNotOptimize(lines);
    }
    count(state, "lines", double(lines));
    state.SetBytesProcessed(state.iterations() * catalogues->characters() * qint64(sizeof(QChar)));
    state.SetLabel(query.toStdString());
}

} // namespace

void registerSearchBenchmarks(const Inputs &inputs)
{
    for (const DataSet &set : inputs.dataSets) {
        add(QStringLiteral("SearchIndexBuild/") + set.name, [set](benchmark::State &state) {
            indexBuild(state, set);
        })->Iterations(10);
        for (const QString &kind :
             {QStringLiteral("genus"), QStringLiteral("none"), QStringLiteral("common")}) {
            const QString suffix = set.name + u'/' + kind;
            add(QStringLiteral("SearchKeystroke/") + suffix,
                [set, kind](benchmark::State &state) {
                    keystroke(state, set, kind, kind == u"common");
                })
                ->UseManualTime()
                ->Iterations(kind == u"common" ? 20 : 50);
            add(QStringLiteral("SearchScanIndexOf/") + suffix,
                [set, kind](benchmark::State &state) { scanPeer(state, set, kind, false); });
            add(QStringLiteral("SearchScanMemmem/") + suffix,
                [set, kind](benchmark::State &state) { scanPeer(state, set, kind, true); });
        }
        add(QStringLiteral("SearchTyping/") + set.name,
            [set](benchmark::State &state) { typing(state, set); })
            ->UseManualTime()
            ->Iterations(10);
    }
}

} // namespace fosdat::bench
