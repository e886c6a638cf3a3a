// fosdat-ranges run as a process: on the generated sample data set against
// the generator's truth, on small data sets written here, and with a user's
// time scale file.
#include "GroupTable.h"
#include "support/CsvRows.h"
#include "support/PairRows.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace
{

struct Run {
    int exitCode = -1;
    QString out;
    QString errors;
};

Run runRanges(const QStringList &arguments, const QString &dataHome = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A user's own time scale file must not leak into the test.
    environment.insert(u"XDG_DATA_HOME"_s, dataHome.isEmpty() ? u"/nonexistent"_s : dataHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FOSDAT_RANGES_EXE), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A CSV table with a header row, its rows by column name.
struct Table {
    QStringList header;
    QList<QStringList> rows;

    QString at(qsizetype row, const QString &column) const
    {
        return rows.at(row).value(header.indexOf(column));
    }
};

Table readTable(const QString &text)
{
    const QList<QStringList> rows = parseCsv(text);
    return {rows.value(0), rows.mid(1)};
}

// The generator's truth about every genus entry of the sample.
Table readTruth()
{
    QFile file(QStringLiteral(FOSDAT_SAMPLE_DIR "/truth/genera.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readTable(QString::fromUtf8(file.readAll()));
}

// The ages of each stage and of each other unit, by code, from the time
// scale file the program ships: a unit without ages of its own has those of
// its first stage's base and its last stage's top.
QHash<QString, std::pair<double, double>> codeAges()
{
    QFile file(QStringLiteral(FOSDAT_TIMESCALE_CSV));
    QHash<QString, std::pair<double, double>> ages;
    if (!file.open(QIODevice::ReadOnly))
        return ages;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QStringList f = line.split(u',');
        if (f.size() == 7 && f[0] == u"stage")
            ages.insert(f[1], {f[5].toDouble(), f[6].toDouble()});
    }
    for (const QString &line : lines) {
        const QStringList f = line.split(u',');
        if (f[0] == u"alias" && f.size() == 7)
            ages.insert(f[1], {f[5].toDouble(), f[6].toDouble()});
        else if (f[0] == u"alias" && f.size() == 5)
            ages.insert(f[1], {ages[f[3]].first, ages[f[4]].second});
    }
    return ages;
}

QStringList columns(const QStringList &row, std::initializer_list<int> which)
{
    QStringList picked;
    for (int i : which)
        picked.append(row.value(i));
    return picked;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestRanges : public QObject
{
    Q_OBJECT

    Table m_truth;

private slots:
    void initTestCase()
    {
        m_truth = readTruth();
        QVERIFY(m_truth.rows.size() > 30000);
    }

    // Every column of every row as the generator's truth has it: the text
    // columns as written, the stages and flags, the ages from the time scale
    // file, the reason naming what the truth says it names.
    void genusRowsAsTheTruth_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("groups"); // the captions expected; empty: all
        QTest::newRow("every group") << QStringList{} << QStringList{};
        QTest::newRow("two groups, by caption and by file name")
            << QStringList{u"--group"_s, u"brach1"_s, u"--group"_s, u"БРАХИОПОДЫ2"_s}
            << QStringList{u"БРАХИОПОДЫ1"_s, u"БРАХИОПОДЫ2"_s};
    }
    void genusRowsAsTheTruth()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, groups);
        const Run run = runRanges(arguments << QStringLiteral(FOSDAT_SAMPLE_DIR));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errors, QString());
        const Table table = readTable(run.out);
        const QStringList same{u"group"_s,
                               u"genus"_s,
                               u"range"_s,
                               u"first_as_written"_s,
                               u"last_as_written"_s,
                               u"first_stage"_s,
                               u"last_stage"_s,
                               u"extant"_s,
                               u"uncertain"_s,
                               u"status"_s,
                               u"line"_s,
                               u"family"_s,
                               u"order"_s,
                               u"class"_s,
                               u"author"_s,
                               u"references"_s,
                               u"family_uncertain"_s,
                               u"class_latin"_s};
        QCOMPARE(table.header,
                 (QStringList{
                     u"group"_s,           u"genus"_s,       u"range"_s,      u"first_as_written"_s,
                     u"last_as_written"_s, u"first_stage"_s, u"last_stage"_s, u"base_ma"_s,
                     u"top_ma"_s,          u"extant"_s,      u"uncertain"_s,  u"status"_s,
                     u"reason"_s,          u"line"_s,        u"family"_s,     u"order"_s,
                     u"class"_s,           u"author"_s,      u"references"_s, u"family_uncertain"_s,
                     u"class_latin"_s,     u"suggestion"_s}));
        QList<qsizetype> expected;
        for (qsizetype t = 0; t < m_truth.rows.size(); ++t) {
            if (groups.isEmpty() || groups.contains(m_truth.at(t, u"group"_s)))
                expected.append(t);
        }
        QCOMPARE(table.rows.size(), expected.size());
        const auto ages = codeAges();
        for (qsizetype i = 0; i < table.rows.size(); ++i) {
            const qsizetype t = expected[i];
            QCOMPARE(table.rows[i].size(), table.header.size());
            QStringList read, truth;
            for (const QString &column : same) {
                read.append(column + u'=' + table.at(i, column));
                truth.append(column + u'=' + m_truth.at(t, column));
            }
            QCOMPARE(read, truth);
            // Ages of the stages the truth names, the present's top at 0.
            const QString status = m_truth.at(t, u"status"_s);
            const QString first = m_truth.at(t, u"first_stage"_s);
            const QString last = m_truth.at(t, u"last_stage"_s);
            const bool extant = m_truth.at(t, u"extant"_s) == u"1";
            QCOMPARE(table.at(i, u"base_ma"_s).isEmpty(), first.isEmpty());
            if (!first.isEmpty()) {
                QCOMPARE(table.at(i, u"base_ma"_s).toDouble(), ages.value(first).first);
                QCOMPARE(table.at(i, u"top_ma"_s).toDouble(),
                         extant ? 0.0 : ages.value(last).second);
            }
            // The reason names the code the truth gives, or for a range
            // not counted by default (period only) the range.
            const QString reason = table.at(i, u"reason"_s);
            QCOMPARE(reason.isEmpty(), status == u"counted");
            const QString named =
                status == u"period-only" ? m_truth.at(t, u"range"_s) : m_truth.at(t, u"code"_s);
            if (!named.isEmpty())
                QVERIFY2(reason.contains(u'«' + named + u'»'), qPrintable(reason));
        }
    }

    void stageRowsAsTheTruth()
    {
        const Run run = runRanges({u"--stages"_s, QStringLiteral(FOSDAT_SAMPLE_DIR)});
        QCOMPARE(run.exitCode, 0);
        const QList<QStringList> rows = parseCsv(run.out);
        QCOMPARE(rows.value(0).mid(0, 7),
                 (QStringList{u"stage"_s, u"name"_s, u"base_ma"_s, u"top_ma"_s, u"genera"_s,
                              u"first_appearances"_s, u"last_appearances"_s}));
        QCOMPARE(rows.size(), 1 + 103);
        QStringList stages;
        for (const QStringList &row : rows.mid(1))
            stages.append(row[0]);
        // Genera, first and last appearances from the truth's counted ranges.
        QList<int> genera(stages.size()), firsts(stages.size()), lasts(stages.size());
        for (qsizetype t = 0; t < m_truth.rows.size(); ++t) {
            if (m_truth.at(t, u"status"_s) != u"counted")
                continue;
            const int first = int(stages.indexOf(m_truth.at(t, u"first_stage"_s)));
            const int last = int(stages.indexOf(m_truth.at(t, u"last_stage"_s)));
            for (int s = first; s <= last; ++s)
                ++genera[s];
            ++firsts[first];
            lasts[last] += m_truth.at(t, u"extant"_s) == u"1" ? 0 : 1;
        }
        for (int s = 0; s < stages.size(); ++s) {
            const QStringList &row = rows[s + 1];
            QCOMPARE(columns(row, {4, 5, 6}),
                     (QStringList{QString::number(genera[s]), QString::number(firsts[s]),
                                  QString::number(lasts[s])}));
            QVERIFY(row[2].toDouble() > row[3].toDouble());
            if (s > 0)
                QCOMPARE(row[2], rows[s][3]); // no gap between stages
        }
        // Per-capita rates are undefined at the ends of the scale.
        QCOMPARE(rows[1].mid(16), QStringList(4));
        QCOMPARE(rows.back().mid(16), QStringList(4));
    }

    // Counts on every kind of bin from the truth's counted ranges: a genus
    // is in a bin when its range meets one of the bin's stages; the bins
    // tile the chart's stages in order, each by its kind's rule.
    void binsAsTheTruth_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("group"); // one group's caption; empty: every group
        for (const char *kind : {"units", "stages", "epochs", "periods", "10myr"}) {
            QTest::addRow("%s", kind) << QString::fromLatin1(kind) << QString();
            QTest::addRow("%s, one group", kind) << QString::fromLatin1(kind) << u"ТРИЛОБИТЫ"_s;
        }
    }
    void binsAsTheTruth()
    {
        QFETCH(QString, kind);
        QFETCH(QString, group);
        const QString set = QStringLiteral(FOSDAT_SAMPLE_DIR);
        const QList<QStringList> stageRows = parseCsv(runRanges({u"--stages"_s, set}).out).mid(1);
        QStringList stages;
        QHash<QString, QString> periodOf;
        for (const QStringList &row : stageRows) {
            stages.append(row[0]);
            periodOf.insert(row[0], row[7]);
        }
        const Run run =
            runRanges(group.isEmpty() ? QStringList{u"--stages"_s, u"--bins"_s, kind, set}
                                      : QStringList{u"--stages"_s, u"--bins"_s, kind, u"--group"_s,
                                                    group, set});
        QCOMPARE(run.exitCode, 0);
        const QList<QStringList> rows = parseCsv(run.out);
        QCOMPARE(rows.value(0).mid(0, 4),
                 (QStringList{u"stage"_s, u"units"_s, u"chart_stages"_s, u"name"_s}));
        // Each counted range by its stages, and by the ages of the units it
        // writes: bins of units are made of those.
        struct Range {
            int first, last;
            bool extant;
            double base, top;
        };
        const auto ages = codeAges();
        QList<Range> ranges;
        QHash<QString, int> binsHolding; // a written code: the bins that list it
        for (qsizetype t = 0; t < m_truth.rows.size(); ++t) {
            if (m_truth.at(t, u"status"_s) != u"counted" ||
                (!group.isEmpty() && m_truth.at(t, u"group"_s) != group))
                continue;
            const bool extant = m_truth.at(t, u"extant"_s) == u"1";
            const QString firstUnit = m_truth.at(t, u"first_as_written"_s);
            const QString lastUnit = m_truth.at(t, u"last_as_written"_s);
            QVERIFY2(ages.contains(firstUnit), qPrintable(firstUnit));
            ranges.append({int(stages.indexOf(m_truth.at(t, u"first_stage"_s))),
                           int(stages.indexOf(m_truth.at(t, u"last_stage"_s))), extant,
                           ages[firstUnit].first, extant ? 0.0 : ages.value(lastUnit).second});
            binsHolding.insert(firstUnit, 0);
            if (!extant)
                binsHolding.insert(lastUnit, 0);
        }
        const bool byAges = kind == u"units";
        constexpr double Same = 1e-6;
        QStringList tiled;
        for (qsizetype b = 1; b < rows.size(); ++b) {
            const QStringList &row = rows[b];
            const QStringList binStages = row[2].split(u' ');
            const int first = int(stages.indexOf(binStages.front()));
            const int last = int(stages.indexOf(binStages.back()));
            const double base = row[4].toDouble(), top = row[5].toDouble();
            tiled += binStages;
            int genera = 0, firsts = 0, lasts = 0;
            for (const Range &r : ranges) {
                if (byAges) {
                    genera += r.base > top + Same && r.top < base - Same;
                    firsts += r.base <= base + Same && r.base > top + Same;
                    lasts += r.top >= top - Same && r.top < base - Same && !r.extant;
                    continue;
                }
                genera += r.first <= last && r.last >= first;
                firsts += r.first >= first && r.first <= last;
                lasts += r.last >= first && r.last <= last && !r.extant;
            }
            // A bin of units lists what it holds; the next one begins at the
            // base of one of its own units, or holds none.
            for (const QString &unit : row[1].split(u' ', Qt::SkipEmptyParts)) {
                QVERIFY2(binsHolding.contains(unit), qPrintable(unit)); // written, and counted
                ++binsHolding[unit];
                QVERIFY(ages[unit].first <= base + Same && ages[unit].second >= top - Same);
            }
            if (byAges && b > 1 && !row[1].isEmpty())
                QVERIFY2(std::any_of(binsHolding.keyBegin(), binsHolding.keyEnd(),
                                     [&](const QString &unit) {
                                         return row[1].split(u' ').contains(unit) &&
                                                qAbs(ages[unit].first - base) < Same;
                                     }),
                         qPrintable(row[0]));
            QCOMPARE(columns(row, {6, 7, 8}),
                     (QStringList{QString::number(genera), QString::number(firsts),
                                  QString::number(lasts)}));
            const double duration = row[4].toDouble() - row[5].toDouble();
            if (b > 1)
                QCOMPARE(row[4], rows[b - 1][5]);
            if (duration < 1) // per-Myr rates only for bins of a million years or more
                QCOMPARE(row.mid(20, 2), QStringList(2));
            if (kind == u"stages")
                QCOMPARE(binStages.size(), 1);
            if (kind == u"periods") {
                for (const QString &stage : binStages)
                    QCOMPARE(periodOf[stage], periodOf[binStages.front()]);
                if (b > 1)
                    QVERIFY(periodOf[binStages.front()] !=
                            periodOf[rows[b - 1][2].section(u' ', -1)]);
            }
            if (byAges && b > 1 && row[1].isEmpty())
                QCOMPARE(columns(row, {7, 8}), (QStringList{u"0"_s, u"0"_s}));
            if (kind == u"10myr" && binStages.size() > 1)
                QVERIFY2(duration < 20, qPrintable(row[0]));
            // The standard error of the per-capita extinction rate, from the
            // row's own crossers: q = range-through / base crossers.
            if (!row[19].isEmpty()) {
                const double q = row[13].toDouble() / row[14].toDouble();
                QVERIFY(qAbs(row[23].toDouble() - std::sqrt((1 - q) / (q * row[14].toDouble()))) <
                        1e-12);
            }
        }
        QCOMPARE(rows[1][4].toDouble(), stageRows.front()[2].toDouble());
        QCOMPARE(rows.back()[5].toDouble(), stageRows.back()[3].toDouble());
        if (!byAges) {
            QCOMPARE(tiled, stages);
            return;
        }
        // Bins of units split no written unit: each lies within exactly one.
        for (auto unit = binsHolding.cbegin(); unit != binsHolding.cend(); ++unit)
            QVERIFY2(unit.value() == 1, qPrintable(unit.key()));
    }

    // A catalogue written in one regional scheme is counted in exactly its
    // units, also where they are finer than the chart's stages: one genus
    // in each unit and one from each unit to the next.
    void unitBinsOfOneScheme_data()
    {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QStringList>("units");
        QTest::newRow("British Ordovician")
            << u"O"_s
            << QStringList{u"Tremadoc"_s, u"Aren"_s, u"Llvi"_s, u"Llde"_s, u"Cara"_s, u"Ashg"_s};
        QTest::newRow("Siberian Cambrian")
            << u"Cm"_s
            << QStringList{u"Tomm"_s, u"Atda"_s, u"Boto"_s, u"Toyo"_s, u"Amga"_s, u"Maya"_s};
    }
    void unitBinsOfOneScheme()
    {
        QFETCH(QString, period);
        QFETCH(QStringList, units);
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251 ";
        const qsizetype n = units.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QString letter(QChar(char16_t(u'A' + i)));
            rtf += (letter + u"us "_s + period + u" ("_s + units[i] + u") (1)\\par "_s).toLatin1();
            if (i + 1 < n)
                rtf += (letter + u"ides "_s + period + u" ("_s + units[i] + u") - "_s + period +
                        u" ("_s + units[i + 1] + u") (2)\\par "_s)
                           .toLatin1();
        }
        QTemporaryDir dir;
        writeFile(dir.filePath(u"set/dat/BD/FORAM"_s), rtf + "}");
        const Run run = runRanges({u"--stages"_s, u"--bins"_s, u"units"_s, u"--group"_s, u"FORAM"_s,
                                   dir.filePath(u"set"_s)});
        QCOMPARE(run.exitCode, 0);
        const auto ages = codeAges();
        QList<QStringList> holding;
        for (const QStringList &row : parseCsv(run.out).mid(1)) {
            if (row[1].isEmpty()) { // before the oldest unit or after the youngest
                QCOMPARE(columns(row, {6, 7, 8}), (QStringList{u"0"_s, u"0"_s, u"0"_s}));
                continue;
            }
            holding.append(row);
        }
        QCOMPARE(holding.size(), n);
        for (qsizetype i = 0; i < n; ++i) {
            const QStringList &row = holding[i];
            const auto [base, top] = ages[units[i]];
            const int genera = 1 + (i > 0) + (i + 1 < n);
            const int firsts = 1 + (i + 1 < n);
            const int lasts = 1 + (i > 0);
            QCOMPARE(columns(row, {0, 1}), (QStringList{units[i], units[i]}));
            QCOMPARE(row[4].toDouble(), base);
            QCOMPARE(row[5].toDouble(), top);
            QCOMPARE(columns(row, {6, 7, 8}),
                     (QStringList{QString::number(genera), QString::number(firsts),
                                  QString::number(lasts)}));
        }
    }

    // Families and orders counted as the union of their counted genera's
    // ranges within a group, from the truth's rows: per stage, the taxa
    // living, appearing and ending; genera without one are rows of their own.
    void taxaAsTheTruth_data()
    {
        QTest::addColumn<QString>("level");
        QTest::newRow("family") << u"family"_s;
        QTest::newRow("order") << u"order"_s;
    }
    void taxaAsTheTruth()
    {
        QFETCH(QString, level);
        const QString set = QStringLiteral(FOSDAT_SAMPLE_DIR);
        const Run run = runRanges({u"--stages"_s, u"--level"_s, level, set});
        QCOMPARE(run.exitCode, 0);
        const QList<QStringList> rows = parseCsv(run.out);
        QStringList stages;
        for (const QStringList &row : rows.mid(1))
            stages.append(row[0]);
        struct Range {
            int first = 1 << 30, last = -1;
            bool extant = false;
        };
        QHash<QString, Range> taxa; // by group and name
        int unnamed = 0;
        for (qsizetype t = 0; t < m_truth.rows.size(); ++t) {
            const QString name = m_truth.at(t, level);
            unnamed += name.isEmpty() ? 1 : 0;
            if (name.isEmpty() || m_truth.at(t, u"status"_s) != u"counted")
                continue;
            Range &range = taxa[m_truth.at(t, u"group"_s) + u'\t' + name];
            range.first =
                std::min(range.first, int(stages.indexOf(m_truth.at(t, u"first_stage"_s))));
            range.last = std::max(range.last, int(stages.indexOf(m_truth.at(t, u"last_stage"_s))));
            range.extant = range.extant || m_truth.at(t, u"extant"_s) == u"1";
        }
        QVERIFY(taxa.size() > 50);
        for (int s = 0; s < stages.size(); ++s) {
            int living = 0, firsts = 0, lasts = 0;
            for (const Range &r : std::as_const(taxa)) {
                living += r.first <= s && (r.last >= s || r.extant);
                firsts += r.first == s;
                lasts += r.last == s && !r.extant;
            }
            QCOMPARE(columns(rows[s + 1], {4, 5, 6}),
                     (QStringList{QString::number(living), QString::number(firsts),
                                  QString::number(lasts)}));
        }
        const Table table = readTable(runRanges({u"--level"_s, level, set}).out);
        const QString noName = level == u"family" ? u"no-family"_s : u"no-order"_s;
        qsizetype rowsWithout = 0;
        for (qsizetype i = 0; i < table.rows.size(); ++i)
            rowsWithout += table.at(i, u"status"_s) == noName;
        QCOMPARE(rowsWithout, qsizetype(unnamed));
    }

    void wrongUse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no data set")
            << QStringList{u"/nonexistent/place"_s} << u"no data set in /nonexistent/place"_s;
        QTest::newRow("an unknown group")
            << QStringList{u"--group"_s, u"ДИНОЗАВРЫ"_s, QStringLiteral(FOSDAT_SAMPLE_DIR)}
            << u"no group 'ДИНОЗАВРЫ'"_s;
        QTest::newRow("no folder") << QStringList{} << u"give one data set folder"_s;
        QTest::newRow("an unknown option") << QStringList{u"--bogus"_s, u"."_s} << u"bogus"_s;
    }
    void wrongUse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = runRanges(arguments);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    }

    // Misspellings of real compendia, each written under a period in a
    // catalogue on disk: the known code it resembles is suggested in the
    // reason and the `suggestion` column, never counted; a code like no
    // known one gets none.
    void suggestions_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("suggestion");
        const QString rows =
            u"O (Tremadocain)=Tremadocian|O (Carodoc)=Caradoc|O (Ashgil)=Ashgill|"
            u"S (Wenlok)=Wenlock|D (Famenian)=Famennian|D (Givetain)=Givetian|"
            u"Cm (Tommotain)=Tommotian|P (Kazanien)=Kazanian|J (Hettangien)=Hettangian|"
            u"K (Maastrictian)=Maastrichtian|K (Campanain)=Campanian|K (camp)=Camp|"
            u"C (Tuor)=Tour|K (Tuor)=Turo|K (Xqzw)=|D (Blah)=|K (Qwertyuiop)="_s;
        addPairRows(rows, u'=');
    }
    void suggestions()
    {
        QFETCH(QString, range);
        QFETCH(QString, suggestion);
        QTemporaryDir dir;
        writeFile(dir.filePath(u"set/dat/BD/FORAM"_s),
                  "{\\rtf1\\ansi\\ansicpg1251 Aus " + range.toLatin1() + " (12)\\par}");
        const Run run = runRanges({u"--group"_s, u"FORAM"_s, dir.filePath(u"set"_s)});
        QCOMPARE(run.exitCode, 0);
        const QList<QStringList> rows = parseCsv(run.out);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].back(), u"suggestion"_s);
        QCOMPARE(rows[1][11], u"unknown-stage"_s); // not counted
        QCOMPARE(rows[1].back(), suggestion);
        const qsizetype open = range.indexOf(u'(');
        const QString written = range.mid(open + 1, range.size() - open - 2);
        const QString reason = u"неизвестный ярус «"_s + written + u"»"_s;
        if (suggestion.isEmpty())
            QCOMPARE(rows[1][12], reason);
        else
            QVERIFY2(rows[1][12].startsWith(reason + u" — возможно, "_s + suggestion + u" ("_s),
                     qPrintable(rows[1][12]));
    }

    // A data set of one readable catalogue among missing ones, and a user's
    // time scale file that names a code the shipped scale lacks.
    void userTimeScaleAndMissingCatalogues()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(u"set/dat/BD/FORAM"_s),
                  "{\\rtf1\\ansi\\ansicpg1251 \\'d1\\'e5\\'ec\\'e5\\'e9\\'f1\\'f2\\'e2\\'ee "
                  "Ausidae\\par Aus K (Cmpn) (12)\\par Bus\\tab K (Camp)\\tab (1)\\par}");
        const QString set = dir.filePath(u"set"_s);
        Run run = runRanges({u"--group"_s, u"FORAM"_s, set});
        QCOMPARE(run.exitCode, 0);
        QList<QStringList> rows = parseCsv(run.out);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(columns(rows[1], {1, 5, 11, 12, 14}),
                 (QStringList{u"Aus"_s, QString(), u"unknown-stage"_s, u"неизвестный ярус «Cmpn»"_s,
                              u"Ausidae"_s}));

        writeFile(dir.filePath(u"home/fosdat/timescale.csv"_s),
                  "# my codes\nalias,Cmpn,кампан,Camp,Camp\nalias,Bad,x,Zzzz,Camp\n");
        run = runRanges({set}, dir.filePath(u"home"_s));
        QCOMPARE(run.exitCode, 1); // the other 33 catalogues are missing
        QVERIFY2(run.errors.contains(u"timescale.csv:3: "_s), qPrintable(run.errors));
        QVERIFY(run.errors.contains(u"dat/BD/FORAM2: cannot be read"_s));
        rows = parseCsv(run.out);
        QCOMPARE(columns(rows[1], {1, 3, 5, 11}),
                 (QStringList{u"Aus"_s, u"Cmpn"_s, u"Camp"_s, u"counted"_s}));

        QFile::remove(dir.filePath(u"set/dat/BD/FORAM"_s));
        run = runRanges({set});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.errors.contains(u"no catalogue"_s));
    }
};

QTEST_GUILESS_MAIN(TestRanges)
#include "tst_ranges.moc"
