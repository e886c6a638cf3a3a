// fosdat-ranges as a process, beside the search window's export: its usage
// asked for, the memory it takes for an output far larger than its input,
// and the same range and references in both CSVs for the same genus entries
// of the generated sample data set.
#include "CatalogueSearch.h"
#include "GroupTable.h"
#include "ResultsCsv.h"
#include "SearchResultsModel.h"
#include "support/CsvRows.h"
#include "support/DataTree.h"

#include <QMultiHash>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fosdat;
using namespace Qt::StringLiterals;

extern char **environ;

namespace
{

struct Run {
    int exitCode = -1;
    qint64 outBytes = 0;
    long peakKilobytes = 0; // resident
};

// fosdat-ranges on `arguments`, its output counted and dropped, its peak
// resident memory as the system accounts it. AddressSanitizer, when built
// with it, is told to give freed memory back at once, as the C library does.
Run runMeasured(const QStringList &arguments)
{
    QList<QByteArray> argv{QByteArrayLiteral(FOSDAT_RANGES_EXE)};
    for (const QString &argument : arguments)
        argv << argument.toLocal8Bit();
    QList<char *> args;
    for (QByteArray &arg : argv)
        args << arg.data();
    args << nullptr;
    QList<QByteArray> env{"ASAN_OPTIONS=quarantine_size_mb=0:detect_leaks=0",
                          "XDG_DATA_HOME=/nonexistent"};
    for (char **e = environ; *e; ++e) {
        if (!QByteArray(*e).startsWith("ASAN_OPTIONS=") &&
            !QByteArray(*e).startsWith("XDG_DATA_HOME="))
            env << *e;
    }
    QList<char *> envp;
    for (QByteArray &e : env)
        envp << e.data();
    envp << nullptr;

    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Run run;
    char buffer[65536];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            run.outBytes += got;
        else if (errno != EINTR)
            break;
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status))
        return {};
    run.exitCode = WEXITSTATUS(status);
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

QString runForText(const QStringList &arguments, int *exitCode, QString *errors = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, u"/nonexistent"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FOSDAT_RANGES_EXE), arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    *exitCode = process.exitCode();
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A name of `letters` letters.
QByteArray longName(char letter, int letters)
{
    return QByteArray(1, char(std::toupper(letter))) + QByteArray(letters - 1, letter);
}

} // namespace

class TestRangesTool : public QObject
{
    Q_OBJECT

private slots:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{u"--help"_s};
        QTest::newRow("-h, and a folder") << QStringList{u"-h"_s, u"/nonexistent"_s};
        QTest::newRow("--help-all") << QStringList{u"--help-all"_s};
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        int exitCode = -1;
        QString errors;
        const QString out = runForText(arguments, &exitCode, &errors);
        QCOMPARE(exitCode, 0);
        QCOMPARE(errors, QString());
        QVERIFY2(out.startsWith(u"Usage: "_s) && out.contains(u"--stages"_s) &&
                     out.contains(u"--group <CAPTION>"_s),
                 qPrintable(out));
    }

    // Three headings of 3,000 letters over 10,000 entries: every row names
    // them, 90 MB of CSV from a catalogue of 0.4 MB. The tool holds the
    // entries and their counts, not its output: its peak stays within 32 MB
    // of what a catalogue of one line takes.
    void memoryBoundedWhateverTheOutput()
    {
        constexpr int Letters = 3000;
        constexpr int Entries = 10'000;
        DataTree small;
        QVERIFY(small.writeCatalogue(u"FORAM"_s, "Aus Smith, 1900 K (Camp) (12)"));
        const Run one = runMeasured({u"--group"_s, u"FORAM"_s, small.path(u"."_s)});
        QCOMPARE(one.exitCode, 0);

        DataTree large;
        QByteArray body = "Class " + longName('a', Letters) + "\\par Order " +
                          longName('b', Letters) + "\\par Family " + longName('c', Letters - 4) +
                          "idae\\par ";
        for (int entry = 0; entry < Entries; ++entry) {
            body += "Genus" + QByteArray(1, char('a' + entry / 676 % 26)) +
                    char('a' + entry / 26 % 26) + char('a' + entry % 26) +
                    " Smith, 1900 K (Camp) (12)\\par ";
        }
        QVERIFY(large.writeCatalogue(u"FORAM"_s, body));
        const Run many = runMeasured({u"--group"_s, u"FORAM"_s, large.path(u"."_s)});
        QCOMPARE(many.exitCode, 0);
        QVERIFY(many.outBytes > qint64(Entries) * 3 * Letters);
        const long grown = many.peakKilobytes - one.peakKilobytes;
        qInfo("output %lld bytes; peak %ld KB, %ld KB above one line's", many.outBytes,
              many.peakKilobytes, grown);
        QVERIFY2(grown < 32 * 1024, qPrintable(QString::number(grown)));
    }

    // The search window's export of every match of "(" in each group, and
    // fosdat-ranges' genus table of the same data set: a row of the export
    // that names a genus has its range and references as fosdat-ranges has
    // them for that genus of that group.
    void searchExportAsTheRanges()
    {
        int exitCode = -1;
        const QList<QStringList> table =
            parseCsv(runForText({QStringLiteral(FOSDAT_SAMPLE_DIR)}, &exitCode));
        QCOMPARE(exitCode, 0);
        QCOMPARE(table.value(0).mid(0, 3), (QStringList{u"group"_s, u"genus"_s, u"range"_s}));
        const int references = int(table[0].indexOf(u"references"_s));
        QMultiHash<QString, QStringList> ranges; // "GROUP GENUS": {range, references}
        for (const QStringList &row : table.mid(1))
            ranges.insert(row[0] + u' ' + row[1], {row[2], row[references]});

        const QString current = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(FOSDAT_SAMPLE_DIR));
        CatalogueSearch search;
        SearchResultsModel listed;
        connect(&search, &CatalogueSearch::resultsFound, &listed, &SearchResultsModel::append);
        qsizetype compared = 0;
        for (int group = 0; group < int(data::GroupTable.size()); ++group) {
            listed.clear();
            QSignalSpy finished(&search, &CatalogueSearch::searchFinished);
            search.search(SearchQuery{u"("_s, {}, 0, group});
            QVERIFY(finished.wait(60'000));
            QList<ResultLine> lines;
            for (int row = 0; row < listed.rowCount(); ++row)
                lines << listed.resultLine(row);
            const QList<QStringList> exported = parseCsv(QString::fromUtf8(resultsCsv(lines)));
            QCOMPARE(exported.size(), lines.size() + 1);
            for (const QStringList &row : exported.mid(1)) {
                if (row[1].isEmpty()) { // no entry: nothing read from it
                    QCOMPARE(row[3] + row[4], QString());
                    continue;
                }
                const QList<QStringList> same = ranges.values(row[0] + u' ' + row[1]);
                QVERIFY2(same.contains(QStringList{row[3], row[4]}), qPrintable(row.join(u'|')));
                ++compared;
            }
        }
        QDir::setCurrent(current);
        QVERIFY(compared > table.size()); // each entry holds "(" more than once
    }
};

QTEST_GUILESS_MAIN(TestRangesTool)
#include "tst_rangestool.moc"
