// Durations and cohort survivorship of genera read from a hand-made
// catalogue, under each counting option and in stages and periods, against
// durations worked out from the time scale's ages of the stages each genus
// is written in, and the survivors of each cohort counted by hand.
#include "Bins.h"
#include "GenusEntries.h"
#include "StageCounts.h"
#include "Survivorship.h"
#include "TimeScale.h"

#include <QTest>

using namespace fosdat::strata;
using namespace Qt::StringLiterals;

namespace
{

// Each genus of the catalogue below: its first and last stage; "Rec" for
// one living today. Fus is written with a "?", Hus by its period alone.
const QHash<QString, std::pair<QString, QString>> Written{
    {u"Aus"_s, {u"Ceno"_s, u"Coni"_s}}, {u"Bus"_s, {u"Turo"_s, u"Sant"_s}},
    {u"Cus"_s, {u"Turo"_s, u"Turo"_s}}, {u"Dus"_s, {u"Turo"_s, u"Rec"_s}},
    {u"Eus"_s, {u"Ceno"_s, u"Turo"_s}}, {u"Fus"_s, {u"Turo"_s, u"Camp"_s}},
    {u"Gus"_s, {u"Turo"_s, u"Megh"_s}}, {u"Hus"_s, {u"Berr"_s, u"Maas"_s}},
    {u"Ius"_s, {u"Camp"_s, u"Rec"_s}},
};
const QString Catalogue = u"Aus K (Ceno) - K (Coni) (1)\n"
                          u"Bus K (Turo) - K (Sant) (1)\n"
                          u"Cus K (Turo) (1)\n"
                          u"Dus K (Turo) - Rec (1)\n"
                          u"Eus K (Ceno) - K (Turo) (1)\n"
                          u"Fus ?K (Turo) - K (Camp) (1)\n"
                          u"Gus K (Turo) - Q (Megh) (1)\n"
                          u"Hus K - K (Maas) (1)\n"
                          u"Ius K (Camp) - Rec (1)\n"_s;

const TimeScale &scale()
{
    return shippedTimeScale();
}

// The ages of the bin a stage lies in: the stage's own, or its period's.
std::pair<double, double> binAges(int stage, bool periods)
{
    const QList<Stage> &stages = scale().stages();
    double base = stages[stage].base;
    double top = stages[stage].top;
    for (const Stage &s : stages) {
        if (periods && s.period == stages[stage].period) {
            base = std::max(base, s.base);
            top = std::min(top, s.top);
        }
    }
    return {base, top};
}

// The genera counted under `options`, by their names.
QStringList countedUnder(const CountOptions &options)
{
    QStringList names;
    for (const auto &[name, range] : Written.asKeyValueRange()) {
        if ((name == u"Fus" && !options.uncertain) || (name == u"Hus" && !options.periodOnly) ||
            (range.second == u"Rec" && !options.living))
            continue;
        names << name;
    }
    names.sort();
    return names;
}

} // namespace

class TestSurvivorship : public QObject
{
    Q_OBJECT

private slots:
    void durationsAndCohorts_data()
    {
        QTest::addColumn<bool>("periods"); // else stages
        QTest::addColumn<bool>("uncertain");
        QTest::addColumn<bool>("periodOnly");
        QTest::addColumn<bool>("living");
        QTest::addColumn<QString>("cohortBin");
        QTest::addColumn<QStringList>("cohort");
        QTest::addColumn<QStringList>("surviving"); // "bin:genera" in some bins

        QTest::newRow("stages, as by default")
            << false << true << false << true << "Turo"
            << QStringList{"Bus", "Cus", "Dus", "Fus", "Gus"}
            << QStringList{"Turo:5", "Coni:4", "Sant:4", "Camp:3", "Maas:2", "Dani:2", "Megh:2"};
        QTest::newRow("stages, no ranges with ?")
            << false << false << false << true << "Turo" << QStringList{"Bus", "Cus", "Dus", "Gus"}
            << QStringList{"Turo:4", "Coni:3", "Sant:3", "Camp:2", "Megh:2"};
        QTest::newRow("stages, no living genera")
            << false << true << false << false << "Turo" << QStringList{"Bus", "Cus", "Fus", "Gus"}
            << QStringList{"Turo:4", "Coni:3", "Camp:2", "Maas:1", "Megh:1"};
        QTest::newRow("stages, a cohort of one living genus")
            << false << true << false << true << "Camp" << QStringList{"Ius"}
            << QStringList{"Camp:1", "Dani:1", "Megh:1"};
        QTest::newRow("stages, a cohort of none")
            << false << true << true << true << "Albi" << QStringList{}
            << QStringList{"Albi:0", "Ceno:0", "Megh:0"};
        QTest::newRow("periods, with period-only ranges")
            << true << true << true << true << "K"
            << QStringList{"Aus", "Bus", "Cus", "Dus", "Eus", "Fus", "Gus", "Hus", "Ius"}
            << QStringList{"K:9", "Pg:3", "N:3", "Q:3"};
    }
    void durationsAndCohorts()
    {
        QFETCH(bool, periods);
        QFETCH(bool, uncertain);
        QFETCH(bool, periodOnly);
        QFETCH(bool, living);
        QFETCH(QString, cohortBin);
        QFETCH(QStringList, cohort);
        QFETCH(QStringList, surviving);
        const CountOptions options{uncertain, periodOnly, living};
        const QList<GenusEntry> entries = readGenusEntries(0, Catalogue, scale());
        const Bins bins(scale(), periods ? BinKind::Periods : BinKind::Stages);
        const StageCounts counts(entries, bins, {}, options);
        const Survivorship survivorship(entries, counts, bins);
        const auto binOf = [&](const QString &code) {
            for (int b = 0; b < bins.bins().size(); ++b) {
                if (bins.bins()[b].code == code)
                    return b;
            }
            return -1;
        };
        const auto nameOf = [&](const GenusSpan &span) {
            return entries.at(span.entry).genus().toString();
        };

        // Every genus counted, from the base of its first bin to the top of
        // its last; the living ones to the present, censored.
        QStringList names;
        for (const GenusSpan &span : survivorship.spans()) {
            const QString name = nameOf(span);
            names << name;
            const auto &[first, last] = Written.value(name);
            const bool rec = last == u"Rec";
            const double base = binAges(scale().stageIndex(first), periods).first;
            const double top = rec ? scale().stages().back().top
                                   : binAges(scale().stageIndex(last), periods).second;
            QVERIFY2(qAbs(span.myr - (base - top)) < 1e-9, qPrintable(name));
            QCOMPARE(span.living, rec);
        }
        names.sort();
        QCOMPARE(names, countedUnder(options));

        const int bin = binOf(cohortBin);
        QVERIFY(bin >= 0);
        QStringList members;
        for (const GenusSpan &span : survivorship.cohort(bin))
            members << nameOf(span);
        members.sort();
        QCOMPARE(members, cohort);
        const QList<CohortStep> steps = survivorship.survival(bin);
        QCOMPARE(steps.size(), bins.bins().size() - bin);
        for (const QString &expected : surviving) {
            const int at = binOf(expected.section(u':', 0, 0));
            const int alive = expected.section(u':', 1).toInt();
            QCOMPARE(steps.at(at - bin).bin, at);
            QCOMPARE(steps.at(at - bin).surviving, alive);
            QCOMPARE(steps.at(at - bin).share.has_value(), !cohort.isEmpty());
            if (!cohort.isEmpty())
                QCOMPARE(*steps.at(at - bin).share, double(alive) / cohort.size());
        }

        // The classes of durations: from 0 without gap, each holding the
        // genera whose durations lie in it, the living ones apart.
        const QList<DurationClass> classes = Survivorship::durationClasses(survivorship.spans());
        QVERIFY(!classes.isEmpty());
        QCOMPARE(classes.front().from, 0.0);
        for (qsizetype c = 0; c < classes.size(); ++c) {
            if (c > 0)
                QCOMPARE(classes[c].from, classes[c - 1].to);
            int extinct = 0;
            int alive = 0;
            for (const GenusSpan &span : survivorship.spans()) {
                if (span.myr >= classes[c].from && span.myr < classes[c].to)
                    ++(span.living ? alive : extinct);
            }
            QCOMPARE(classes[c].extinct, extinct);
            QCOMPARE(classes[c].living, alive);
        }
        QVERIFY(classes.size() <= 41);
    }

    // A cohort of a bin out of range, and the classes of no genera: nothing.
    void nothingToShow()
    {
        const QList<GenusEntry> entries = readGenusEntries(0, Catalogue, scale());
        const Bins bins(scale(), BinKind::Stages);
        const Survivorship survivorship(entries, StageCounts(entries, bins), bins);
        for (int bin : {-1, int(bins.bins().size())}) {
            QVERIFY(survivorship.cohort(bin).isEmpty());
            QVERIFY(survivorship.survival(bin).isEmpty());
        }
        QVERIFY(Survivorship::durationClasses({}).isEmpty());
        // A genus shorter than the shortest stage: classes of its own scale,
        // it in the last.
        const QList<DurationClass> one = Survivorship::durationClasses({{0, 3, 3, false, 0.0042}});
        QVERIFY(one.size() > 1 && one.size() <= 41);
        QCOMPARE(one.back().extinct, 1);
        // At a class's start (0.0042 is 21 classes of 0.0002), up to rounding.
        const double slack = 1e-9 * (one.back().to - one.back().from);
        QVERIFY(qAbs(one.back().from - 0.0042) <= slack);
    }

    void niceSteps_data()
    {
        QTest::addColumn<double>("rough");
        QTest::addColumn<double>("step");
        QTest::newRow("a power of ten") << 10.0 << 10.0;
        QTest::newRow("just over one") << 1.01 << 2.0;
        QTest::newRow("between 2 and 5") << 3.855 << 5.0;
        QTest::newRow("over 5") << 7.2 << 10.0;
        QTest::newRow("below one") << 0.03 << 0.05;
        QTest::newRow("zero") << 0.0 << 1.0;
        QTest::newRow("negative") << -4.0 << 1.0;
    }
    void niceSteps()
    {
        QFETCH(double, rough);
        QFETCH(double, step);
        QVERIFY2(qAbs(niceStep(rough) - step) < 1e-12,
                 qPrintable(QString::number(niceStep(rough))));
    }
};

QTEST_GUILESS_MAIN(TestSurvivorship)
#include "tst_survivorship.moc"
