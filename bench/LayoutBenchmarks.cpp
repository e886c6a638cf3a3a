// How the cost of laying out a document in the catalogue view grows with the
// shapes hostile files take: many empty paragraphs, one long paragraph, one
// long word, many format changes in one word or paragraph, many line breaks.
// The documents are built directly, without the reader and its caps, so the
// curves show where Qt's layout stops being linear; the reader's caps in
// richtext/RtfLimits.h are chosen below those bends.
//   fosdat-bench-layout [benchmark options] [FILE.rtf...]
// Each FILE is read as the catalogue window reads it, caps and all, and laid
// out the same way (file/NAME): the hostile files of fosdat-hostile-inputs,
// for instance.
// Every run shows a fresh document in a shown catalogue view of its real size
// and lays it out to its end; height_px is the laid-out height, memory_MB what
// the document and its layout hold on the heap. A watchdog ends the program
// when one layout takes longer than FOSDAT_LAYOUT_TIMEOUT seconds (120), as a
// layout past Qt's height limit never returns.
#include "BenchStart.h"
#include "RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextEdit>
#include <QThread>
#include <QWindow>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <thread>

namespace
{

// The catalogue view's size in the catalogue window.
constexpr QSize ViewSize(361, 329);
// The size of text without \fs, as the reader gives it.
constexpr qreal PointSize = 12;

using Fill = std::function<void(QTextCursor &, int count)>;

// A read-only view as the catalogue's, which lays out the documents it is given whole.
QTextEdit *view = nullptr;
std::unique_ptr<QTextDocument> viewDocument;

void showDocument(std::unique_ptr<QTextDocument> document)
{
    document->setPageSize(view->document()->pageSize());
    view->setDocument(document.get());
    viewDocument = std::move(document);
}

QTextCharFormat plainFormat()
{
    QTextCharFormat format;
    format.setFontPointSize(PointSize);
    return format;
}

// Bytes allocated on the heap and not yet freed.
double heapBytes()
{
    return double(mallinfo2().uordblks);
}

// Ends the process when a layout does not finish in time.
class Watchdog
{
public:
    Watchdog()
    {
        m_limit = qEnvironmentVariableIntValue("FOSDAT_LAYOUT_TIMEOUT");
        if (m_limit <= 0)
            m_limit = 120;
        std::thread([this] { watch(); }).detach();
    }
    void arm(const std::string &name)
    {
        m_name = name;
        m_started = std::chrono::steady_clock::now().time_since_epoch().count();
    }
    void disarm() { m_started = 0; }

private:
    void watch()
    {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const auto started = m_started.load();
            const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
            if (started == 0 ||
                std::chrono::steady_clock::duration(now - started) < std::chrono::seconds(m_limit))
                continue;
            std::fprintf(stderr, "%s: the layout did not finish in %d s\n", m_name.c_str(),
                         m_limit);
            std::fflush(stdout);
            std::_Exit(3);
        }
    }

    int m_limit = 120;
    std::string m_name;
    std::atomic<std::chrono::steady_clock::rep> m_started{0};
};

Watchdog *watchdog = nullptr;

using MakeDocument = std::function<std::unique_ptr<QTextDocument>()>;

void layOut(benchmark::State &state, const std::string &name, const MakeDocument &make)
{
    qreal height = 0;
    double memory = 0;
    for (auto _ : state) {
        state.PauseTiming();
        showDocument(std::make_unique<QTextDocument>());
        QApplication::processEvents();
        const double before = heapBytes();
        std::unique_ptr<QTextDocument> document = make();
        watchdog->arm(name);
        state.ResumeTiming();
        showDocument(std::move(document));
        // QTextDocumentLayout finishes its layout before it reports the size.
        height = view->document()->documentLayout()->documentSize().height();
        view->viewport()->grab();
        state.PauseTiming();
        watchdog->disarm();
        memory = heapBytes() - before;
        state.ResumeTiming();
    }
    state.counters["height_px"] = height;
    state.counters["memory_MB"] = memory / 1e6;
    state.counters["blocks"] = view->document()->blockCount();
    state.counters["characters"] = view->document()->characterCount();
}

// A document of `count` items made by `fill`, laid out; per_item is the time
// for each of `items`, or of the `count` items when there are none.
void layOutFilled(benchmark::State &state, const std::string &name, const Fill &fill, int items)
{
    const int count = int(state.range(0));
    layOut(state, name + '/' + std::to_string(count), [&] {
        auto document = std::make_unique<QTextDocument>();
        QTextCursor cursor(document.get());
        cursor.beginEditBlock();
        cursor.setBlockCharFormat(plainFormat());
        fill(cursor, count);
        cursor.endEditBlock();
        return document;
    });
    state.counters["per_item"] = benchmark::Counter(double(items > 0 ? items : count),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// Words of eight letters and a space, as ordinary text wraps.
void words(QTextCursor &cursor, int characters)
{
    const QString word = QStringLiteral("Bolivina ");
    QString text;
    text.reserve(characters);
    while (text.size() < characters)
        text += word;
    text.truncate(characters);
    cursor.insertText(text, plainFormat());
}

void emptyParagraphs(QTextCursor &cursor, int count)
{
    for (int i = 1; i < count; ++i)
        cursor.insertBlock();
}

void paragraphsOfWords(QTextCursor &cursor, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            cursor.insertBlock();
        words(cursor, 40);
    }
}

void oneWord(QTextCursor &cursor, int letters)
{
    cursor.insertText(QString(letters, u'x'), plainFormat());
}

// One word whose letters are bold and not bold in turn, `changes` times.
void formatChangesInAWord(QTextCursor &cursor, int changes)
{
    QTextCharFormat bold = plainFormat();
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < changes; ++i)
        cursor.insertText(QStringLiteral("x"), i % 2 ? bold : plainFormat());
}

// Words of eight letters whose formats change `changes` times in turn.
void formatChangesBetweenWords(QTextCursor &cursor, int changes)
{
    QTextCharFormat bold = plainFormat();
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < changes; ++i)
        cursor.insertText(QStringLiteral("Bolivina "), i % 2 ? bold : plainFormat());
}

// A distinct color and size for every character, as in a file that gives each its own.
void distinctFormats(QTextCursor &cursor, int characters)
{
    for (int i = 0; i < characters; ++i) {
        QTextCharFormat format = plainFormat();
        format.setForeground(QColor::fromRgb(QRgb(i * 2654435761u) & 0xffffff));
        format.setFontPointSize(8 + i % 9);
        cursor.insertText(i % 9 == 8 ? QStringLiteral(" ") : QStringLiteral("x"), format);
    }
}

void tallParagraphs(QTextCursor &cursor, int count)
{
    QTextBlockFormat tall;
    tall.setTopMargin(1000);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            cursor.insertBlock(tall);
        else
            cursor.setBlockFormat(tall);
        cursor.insertText(QStringLiteral("x"));
    }
}

// 65,536 letters with a zero-width space after every `letters` of them.
void brokenWord(QTextCursor &cursor, int letters)
{
    QString text;
    for (int i = 0; i < 65536; ++i) {
        text += u'x';
        if ((i + 1) % letters == 0)
            text += QChar(0x200B);
    }
    cursor.insertText(text, plainFormat());
}

// 8,192 bold toggles with a zero-width space after every `letters` letters.
void brokenToggles(QTextCursor &cursor, int letters)
{
    QTextCharFormat bold = plainFormat();
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < 8192; ++i) {
        const bool breakAfter = (i + 1) % letters == 0;
        cursor.insertText(breakAfter ? QStringLiteral("x\u200B") : QStringLiteral("x"),
                          i % 2 ? bold : plainFormat());
    }
}

// `count` tabs in one paragraph at the default distance of 48 px (a far
// stop, 22 inches out, when `far`), a letter after every tenth.
void tabs(QTextCursor &cursor, int count, bool far)
{
    if (far) {
        QTextBlockFormat block;
        block.setTabPositions({QTextOption::Tab(2112, QTextOption::LeftTab)});
        cursor.setBlockFormat(block);
    }
    QString text;
    for (int i = 0; i < count; ++i)
        text += i % 10 == 9 ? QStringLiteral("\tx") : QStringLiteral("\t");
    cursor.insertText(text, plainFormat());
}

void lineBreaks(QTextCursor &cursor, int count)
{
    cursor.insertText(QString(count, QChar::LineSeparator), plainFormat());
}

void add(const char *name, const Fill &fill, int from, int to, int items = 0)
{
    benchmark::RegisterBenchmark(name,
                                 [name = std::string(name), fill, items](benchmark::State &state) {
                                     layOutFilled(state, name, fill, items);
                                 })
        ->RangeMultiplier(2)
        ->Range(from, to)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

// A file read as the catalogue window reads it, and laid out.
void addFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isReadable())
        qFatal("cannot read %s", qPrintable(path));
    const std::string name = "file/" + file.fileName().toStdString();
    benchmark::RegisterBenchmark(name.c_str(),
                                 [name, path, bytes = file.size()](benchmark::State &state) {
                                     layOut(state, name, [&] {
                                         QFile file(path);
                                         fosdat::rtf::ReadResult read;
                                         if (file.open(QIODevice::ReadOnly))
                                             read = fosdat::rtf::read(file.readAll());
                                         if (!read.document)
                                             qFatal("not a catalogue: %s", qPrintable(path));
                                         return std::move(read.document);
                                     });
                                     state.counters["in_bytes"] = double(bytes);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

} // namespace

int main(int argc, char *argv[])
{
    fosdat::bench::startBenchmarks(&argc, argv);
    QApplication app(argc, argv);
    Watchdog dog;
    watchdog = &dog;
    QTextEdit shown;
    shown.setReadOnly(true);
    view = &shown;
    shown.resize(ViewSize);
    shown.show();
    QElapsedTimer clock;
    clock.start();
    while (!(shown.windowHandle() && shown.windowHandle()->isExposed()) && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    // Paragraphs 1,019 px tall: 8,232 of them reach Qt's limit of 2^23 px.
    add("tall_paragraphs", tallParagraphs, 1024, 8192);
    add("empty_paragraphs", emptyParagraphs, 25000, 400000);
    add("paragraphs_of_40_characters", paragraphsOfWords, 25000, 200000);
    add("characters_in_a_paragraph", words, 1 << 15, 1 << 22);
    add("letters_in_65536_letters_broken_every", brokenWord, 1 << 6, 1 << 14, 65536);
    add("toggles_in_8192_toggles_broken_every", brokenToggles, 1 << 5, 1 << 13, 8192);
    // Lines of 19 px: 441,505 of them reach Qt's limit.
    add("line_breaks_in_a_paragraph", lineBreaks, 1 << 14, 1 << 18);
    add(
        "tabs_in_a_paragraph", [](QTextCursor &cursor, int count) { tabs(cursor, count, false); },
        1 << 5, 1 << 12);
    add(
        "tabs_to_a_far_stop_in_a_paragraph",
        [](QTextCursor &cursor, int count) { tabs(cursor, count, true); }, 1 << 2, 1 << 12);
    add("letters_in_a_word", oneWord, 1 << 10, 1 << 16);
    add("format_changes_in_a_word", formatChangesInAWord, 1 << 9, 1 << 13);
    add("format_changes_between_words", formatChangesBetweenWords, 1 << 10, 1 << 17);
    add("distinct_formats_in_a_paragraph", distinctFormats, 1 << 10, 1 << 16);
    for (const QString &path : QApplication::arguments().mid(1))
        addFile(path);
    benchmark::RunSpecifiedBenchmarks();
    shown.setDocument(nullptr);
    viewDocument.reset();
    benchmark::Shutdown();
    return 0;
}
