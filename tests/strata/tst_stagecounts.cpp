// Counts per stage on the generated sample data set, read from disk as the
// search index reads it, against the truth the generator wrote beside it;
// and the invariants of the counts on random catalogues.
#include "Bins.h"
#include "DataFiles.h"
#include "GenusEntries.h"
#include "GroupTable.h"
#include "RtfText.h"
#include "StageCounts.h"
#include "Survivorship.h"
#include "TimeScale.h"
#include "support/SampleTruth.h"

#include <QRandomGenerator>
#include <QTest>

using namespace fosdat;
using namespace fosdat::strata;
using namespace Qt::StringLiterals;

namespace
{

// Every catalogue read at once, as the window and fosdat-ranges read them.
QList<GenusEntry> readSample(const QString &dir, const TimeScale &scale)
{
    QList<CatalogueInput> catalogues;
    for (int row = 0; row < int(data::GroupTable.size()); ++row) {
        const QString path = data::nativePath(data::GroupTable[row].catalogPath, QDir(dir));
        const auto bytes = data::readRegularFile(path);
        const auto text = bytes ? rtf::readText(*bytes) : std::nullopt;
        if (text)
            catalogues.append({row, *text});
    }
    return readGenusEntries(catalogues, scale);
}

// Where each entry stands and what it names, one line an entry.
QStringList places(const QList<GenusEntry> &entries)
{
    QStringList lines;
    for (const GenusEntry &entry : entries)
        lines.append(u"%1:%2 %3"_s.arg(entry.group).arg(entry.line).arg(entry.genus()));
    return lines;
}

bool countedByTruth(const Truth &truth, const CountOptions &options)
{
    const bool placed =
        truth.status == u"counted" || (truth.status == u"period-only" && options.periodOnly);
    return placed && (!truth.uncertain || options.uncertain) && (!truth.extant || options.living);
}

// The class of a genus in a stage, by the definitions, stage by stage.
Count truthClass(int stage, int first, int last, bool extant)
{
    const bool crossesBase = stage > first;
    const bool crossesTop = stage < last || extant;
    if (crossesBase)
        return crossesTop ? Count::RangeThrough : Count::CrossingBaseLast;
    return crossesTop ? Count::FirstCrossingTop : Count::SingleStage;
}

constexpr std::array FourClasses{Count::SingleStage, Count::FirstCrossingTop,
                                 Count::CrossingBaseLast, Count::RangeThrough};

// A catalogue of random genus entries written in every unit and period code of
// the scale, in random forms; the same `seed` gives the same text.
QString randomCatalogue(const TimeScale &scale, quint32 seed, int genera)
{
    QRandomGenerator random(seed);
    const QList<Unit> &units = scale.units();
    const auto periodOf = [&](const Unit &unit) { return scale.stages()[unit.first].period; };
    QString text = u"Класс Randomia\nСемейство Randomidae\n"_s;
    for (int i = 0; i < genera; ++i) {
        const Unit &a = units[random.bounded(int(units.size()))];
        const Unit &b = units[random.bounded(int(units.size()))];
        const Unit &older = a.first <= b.first ? a : b;
        const Unit &younger = a.first <= b.first ? b : a;
        QString range = periodOf(older) + u" ("_s + older.code + u')';
        const int form = random.bounded(10);
        if (form < 5)
            range += u" - "_s + periodOf(younger) + u" ("_s + younger.code + u')';
        else if (form < 7)
            range += u" - Rec"_s;
        else if (form < 8)
            range = u'?' + range;
        else if (form < 9)
            range = periodOf(older);
        QString name = u"Genus"_s;
        for (int n = i; n > 0; n /= 26)
            name += QChar(u'a' + n % 26);
        text += u"%1 %2 (%3)\n"_s.arg(name, range).arg(1 + i % 1200);
    }
    return text;
}

// The shipped scale with every age older by `shift` million years.
QString shiftedScale(double shift)
{
    QStringList lines = shippedTimeScaleText().split(u'\n');
    for (QString &line : lines) {
        QStringList f = line.split(u',');
        const bool ages =
            (f[0] == u"stage" && f.size() == 7) || (f[0] == u"alias" && f.size() == 7);
        for (int i = 5; ages && i < 7; ++i)
            f[i] = QString::number(f[i].toDouble() + shift, 'f', 6);
        line = f.join(u',');
    }
    return lines.join(u'\n');
}

} // namespace

class TestStageCounts : public QObject
{
    Q_OBJECT

    QList<GenusEntry> m_entries;
    QList<Truth> m_truth;

    const TimeScale &scale() const { return shippedTimeScale(); }
    int stageIndex(const QString &code) const
    {
        return code.isEmpty() ? -1 : scale().stageIndex(code);
    }

private slots:
    void initTestCase()
    {
        m_truth = readTruth(QStringLiteral(FOSDAT_SAMPLE_DIR "/truth/genera.csv"));
        m_entries = readSample(QStringLiteral(FOSDAT_SAMPLE_DIR), scale());
        QVERIFY(m_truth.size() > 30000);
    }

    // Catalogues read in runs on threads of their own give the entries each
    // catalogue gives alone, in the catalogues' order, whatever the runs.
    void readingInRunsKeepsTheOrder_data()
    {
        QTest::addColumn<QStringList>("texts");
        const QString line = u"Aus K (Camp) (1)\n"_s;
        QTest::newRow("none") << QStringList{};
        QTest::newRow("one") << QStringList{line};
        QTest::newRow("empty ones between") << QStringList{{}, line, {}, {}, line.repeated(3), {}};
        QTest::newRow("one far larger than the rest")
            << QStringList{line, line.repeated(5000), line, line.repeated(2), line};
        QStringList many;
        for (int group = 0; group < 34; ++group)
            many.append(line.repeated(group % 7 + 1));
        QTest::newRow("as many as the groups") << many;
    }
    void readingInRunsKeepsTheOrder()
    {
        QFETCH(QStringList, texts);
        QList<CatalogueInput> catalogues;
        QList<GenusEntry> oneByOne;
        for (int group = 0; group < int(texts.size()); ++group) {
            catalogues.append({group, texts[group]});
            oneByOne.append(readGenusEntries(group, texts[group], scale()));
        }
        QCOMPARE(places(readGenusEntries(catalogues, scale())), places(oneByOne));
    }

    // Every genus entry read as the truth has it, in the same order.
    void entriesAsTheTruth()
    {
        QCOMPARE(m_entries.size(), m_truth.size());
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            const GenusEntry &entry = m_entries[i];
            const Truth &truth = m_truth[i];
            const Placement &p = entry.placement;
            const Reason reason = countingReason(entry, {.periodOnly = true});
            const QString status =
                p.periodOnly && reason == Reason::None ? u"period-only"_s : reasonKey(reason);
            const auto code = [&](int stage) {
                return p.isPlaced() ? scale().stages()[stage].code : QString();
            };
            const QString read = QStringList{data::GroupTable[entry.group].caption.toString(),
                                             QString::number(entry.line),
                                             entry.genus().toString(),
                                             code(p.first),
                                             code(p.last),
                                             QString::number(p.extant),
                                             QString::number(p.uncertain),
                                             status,
                                             entry.family().toString(),
                                             entry.order().toString()}
                                     .join(u',');
            const QString expected = QStringList{truth.group,
                                                 truth.line,
                                                 truth.genus,
                                                 truth.first,
                                                 truth.last,
                                                 QString::number(truth.extant),
                                                 QString::number(truth.uncertain),
                                                 truth.status,
                                                 truth.family,
                                                 truth.order}
                                         .join(u',');
            QVERIFY2(read == expected, qPrintable(u"%1\nread     %2\nexpected %3"_s.arg(
                                           entry.text(), read, expected)));
        }
    }

    void countsAsTheTruth_data()
    {
        QTest::addColumn<int>("group"); // -1: all groups together
        QTest::addColumn<bool>("uncertain");
        QTest::addColumn<bool>("periodOnly");
        QTest::addColumn<bool>("living");
        QTest::newRow("all, defaults") << -1 << true << false << true;
        QTest::newRow("all, no uncertain ranges") << -1 << false << false << true;
        QTest::newRow("all, with period-only ranges") << -1 << true << true << true;
        QTest::newRow("all, no living genera") << -1 << true << false << false;
        for (int row = 0; row < int(data::GroupTable.size()); ++row) {
            QTest::addRow("%s", qPrintable(data::GroupTable[row].caption.toString()))
                << row << true << false << true;
        }
    }

    // Each stage's four classes and the genera behind them, against a plain
    // count over the truth's ranges stage by stage.
    void countsAsTheTruth()
    {
        QFETCH(int, group);
        QFETCH(bool, uncertain);
        QFETCH(bool, periodOnly);
        QFETCH(bool, living);
        QCOMPARE(m_entries.size(), m_truth.size());
        const CountOptions options{uncertain, periodOnly, living};
        EntryFilter filter;
        if (group >= 0) {
            filter.groups = QList<bool>(data::GroupTable.size(), false);
            filter.groups[group] = true;
        }
        const StageCounts counts(m_entries, scale(), filter, options);
        const int stages = int(scale().stages().size());
        QList<QList<QList<int>>> expected(stages, QList<QList<int>>(4));
        int counted = 0;
        for (int i = 0; i < int(m_truth.size()); ++i) {
            const Truth &truth = m_truth[i];
            if ((group >= 0 && truth.group != data::GroupTable[group].caption) ||
                !countedByTruth(truth, options))
                continue;
            ++counted;
            const int first = stageIndex(truth.first);
            const int last = stageIndex(truth.last);
            for (int s = first; s <= last; ++s)
                expected[s][int(truthClass(s, first, last, truth.extant))].append(i);
        }
        QCOMPARE(counts.counted().size(), counted);
        for (int s = 0; s < stages; ++s) {
            for (Count count : FourClasses) {
                const QList<int> &genera = expected[s][int(count)];
                QCOMPARE(counts.count(s, count), genera.size());
                QCOMPARE(counts.genera(s, count), genera);
            }
        }
    }

    // The durations of the genera counted in stages and each stage's
    // cohort, still there stage by stage, against the truth's first and
    // last stages and the scale's ages.
    void survivorshipAsTheTruth()
    {
        const CountOptions options;
        const Bins bins(scale(), BinKind::Stages);
        const StageCounts counts(m_entries, bins, {}, options);
        const Survivorship survivorship(m_entries, counts, bins);
        const QList<Stage> &stages = scale().stages();
        const int n = int(stages.size());
        // By cohort, the genera still there in each stage.
        QList<QList<int>> surviving(n, QList<int>(n, 0));
        QList<double> durations;
        int living = 0;
        for (const Truth &truth : m_truth) {
            if (!countedByTruth(truth, options))
                continue;
            const int first = stageIndex(truth.first);
            const int last = truth.extant ? n - 1 : stageIndex(truth.last);
            for (int s = first; s <= last; ++s)
                ++surviving[first][s];
            durations << stages[first].base - stages[last].top;
            living += truth.extant ? 1 : 0;
        }
        QList<double> made;
        int censored = 0;
        for (const GenusSpan &span : survivorship.spans()) {
            made << span.myr;
            censored += span.living ? 1 : 0;
        }
        std::sort(durations.begin(), durations.end());
        std::sort(made.begin(), made.end());
        QCOMPARE(made, durations);
        QCOMPARE(censored, living);
        for (int cohort = 0; cohort < n; ++cohort) {
            const QList<CohortStep> steps = survivorship.survival(cohort);
            QCOMPARE(survivorship.cohort(cohort).size(), surviving[cohort][cohort]);
            for (int s = cohort; s < n; ++s)
                QCOMPARE(steps[s - cohort].surviving, surviving[cohort][s]);
        }
    }

    void invariantsOnRandomCatalogues_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void invariantsOnRandomCatalogues()
    {
        QFETCH(quint32, seed);
        const QString text = randomCatalogue(scale(), seed, 3000);
        const QList<GenusEntry> entries = readGenusEntries(0, text, scale());
        QCOMPARE(entries.size(), 3000);
        const StageCounts counts(entries, scale(), {}, {.periodOnly = true});
        QVERIFY(counts.counted().size() > 2000);
        int firsts = 0;
        int lasts = 0;
        for (int s = 0; s < counts.stageCount(); ++s) {
            firsts += counts.count(s, Count::FirstAppearances);
            lasts += counts.count(s, Count::LastAppearances);
            if (s + 1 < counts.stageCount())
                QCOMPARE(counts.genera(s, Count::TopCrossers),
                         counts.genera(s + 1, Count::BaseCrossers));
        }
        QCOMPARE(firsts, counts.counted().size());
        int living = 0;
        for (int i : counts.counted())
            living += entries[i].placement.extant ? 1 : 0;
        QCOMPARE(lasts + living, counts.counted().size());
        QCOMPARE(counts.count(counts.stageCount() - 1, Count::TopCrossers), living);

        // Every age older by the same amount: the same counts and rates.
        const ScaleReading shifted = readTimeScale(shiftedScale(1000));
        QVERIFY2(shifted.errors.isEmpty(), qPrintable(shifted.errors.value(0).message));
        const QList<GenusEntry> again = readGenusEntries(0, text, shifted.scale);
        const StageCounts moved(again, shifted.scale, {}, {.periodOnly = true});
        QCOMPARE(moved.counted(), counts.counted());
        for (int s = 0; s < counts.stageCount(); ++s) {
            for (Count count : FourClasses)
                QCOMPARE(moved.count(s, count), counts.count(s, count));
            for (Rate rate : {Rate::Origination, Rate::ExtinctionPerMyr}) {
                const auto a = counts.rate(s, rate);
                const auto b = moved.rate(s, rate);
                QCOMPARE(a.has_value(), b.has_value());
                QVERIFY(!a || qAbs(*a - *b) < 1e-6 * std::max(1.0, qAbs(*a)));
            }
        }
    }

    void countedAndNotCountedAreAll_data()
    {
        QTest::addColumn<QList<int>>("groups");
        QTest::addColumn<QString>("familyPart"); // entries whose family holds it; empty: all
        QTest::newRow("every group") << QList<int>{} << QString();
        QTest::newRow("one group") << QList<int>{19} << QString();
        QTest::newRow("a split group's parts") << QList<int>{8, 9, 10} << QString();
        QTest::newRow("no group") << QList<int>{-1} << QString();
        QTest::newRow("families with 'ell'") << QList<int>{} << u"ell"_s;
        QTest::newRow("one group, families with 'a'") << QList<int>{3} << u"a"_s;
        QTest::newRow("a family nowhere") << QList<int>{} << u"Nowhereidae"_s;
    }
    void countedAndNotCountedAreAll()
    {
        QFETCH(QList<int>, groups);
        QFETCH(QString, familyPart);
        EntryFilter filter;
        if (!groups.isEmpty()) {
            filter.groups = QList<bool>(data::GroupTable.size(), false);
            for (int group : groups) {
                if (group >= 0)
                    filter.groups[group] = true;
            }
        }
        if (!familyPart.isEmpty())
            filter.accepts = [&](const GenusEntry &e) { return e.family().contains(familyPart); };
        int admitted = 0;
        for (const GenusEntry &entry : m_entries)
            admitted += filter.admits(entry) ? 1 : 0;
        for (int options = 0; options < 8; ++options) {
            const StageCounts counts(m_entries, scale(), filter,
                                     {bool(options & 1), bool(options & 2), bool(options & 4)});
            QCOMPARE(counts.admitted(), admitted);
            QSet<int> seen(counts.counted().begin(), counts.counted().end());
            for (const StageCounts::NotCounted &skipped : counts.notCounted()) {
                QVERIFY(skipped.reason != Reason::None);
                seen.insert(skipped.entry);
            }
            QCOMPARE(seen.size(), admitted);
            int grouped = 0;
            for (const ReasonGroup &group : groupNotCounted(counts, m_entries, scale()))
                grouped += int(group.entries.size());
            QCOMPARE(grouped, counts.notCounted().size());
        }
    }

    // Entries of unknown stage codes marked in every stage of the period they
    // are written under, on stage and period bins; other reasons nowhere.
    void notCountedInTheirPeriods_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("stages") << int(BinKind::Stages);
        QTest::newRow("periods") << int(BinKind::Periods);
    }
    void notCountedInTheirPeriods()
    {
        QFETCH(int, kind);
        const QString text = u"Aus K (Xyzz) (1)\n"
                             u"Bus D (Qqqq) - D (Fame) (1)\n"
                             u"Cus K (Camp) (1)\n"
                             u"Dus Zz (Camp) (1)\n"
                             u"Eus K (Maas) - K (Ceno) (1)\n"_s;
        const QList<GenusEntry> entries = readGenusEntries(0, text, scale());
        const Bins bins(scale(), BinKind(kind));
        const StageCounts counts(entries, bins);
        const QList<int> marked = notCountedInPeriods(counts, entries, scale(), bins);
        QCOMPARE(marked.size(), bins.bins().size());
        for (int b = 0; b < bins.bins().size(); ++b) {
            const QString period = scale().stages().at(bins.bins()[b].first).period;
            QCOMPARE(marked[b], (period == u"K") + (period == u"D"));
        }
    }

    // Three genera in three stages of the middle of the scale: the rates by
    // hand.
    void ratesOfAKnownCatalogue()
    {
        const QString text = u"Aus K (Ceno) - K (Coni) (1)\n"
                             u"Bus K (Turo) - K (Sant) (1)\n"
                             u"Cus K (Turo) (1)\n"
                             u"Dus K (Ceno) - K (Turo) (1)\n"_s;
        const QList<GenusEntry> entries = readGenusEntries(0, text, scale());
        const StageCounts counts(entries, scale());
        const int turo = scale().stageIndex(u"Turo");
        QCOMPARE(counts.count(turo, Count::Genera), 4);
        QCOMPARE(counts.count(turo, Count::RangeThrough), 1);     // Aus
        QCOMPARE(counts.count(turo, Count::FirstCrossingTop), 1); // Bus
        QCOMPARE(counts.count(turo, Count::SingleStage), 1);      // Cus
        QCOMPARE(counts.count(turo, Count::CrossingBaseLast), 1); // Dus
        QCOMPARE(counts.genera(turo, Count::LastAppearances), (QList<int>{2, 3}));
        QCOMPARE(*counts.rate(turo, Rate::ProportionalOrigination), 0.5);
        QCOMPARE(*counts.rate(turo, Rate::Origination), std::log(2.0));
        QCOMPARE(*counts.rate(turo, Rate::ExtinctionPerMyr),
                 std::log(2.0) / scale().stages()[turo].duration());
        // Nothing crosses both boundaries of the Cenomanian: no per-capita
        // rate, and none at all where there are no genera.
        QVERIFY(!counts.rate(turo - 1, Rate::Origination));
        QVERIFY(!counts.rate(0, Rate::ProportionalExtinction));
        QCOMPARE(*counts.rate(turo + 1, Rate::Extinction), std::log(2.0)); // Aus ends, Bus goes on
    }
};

QTEST_GUILESS_MAIN(TestStageCounts)
#include "tst_stagecounts.moc"
