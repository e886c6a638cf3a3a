// The shipped time scale, and a user's file over it.
#include "TimeScale.h"
#include "UserTimeScale.h"
#include "support/PairRows.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace fosdat;
using namespace fosdat::strata;
using namespace Qt::StringLiterals;

namespace
{

// "Camp..Camp 83.6-72.2" for a unit, "period Berr..Maas" for a period code,
// "-" for a code the scale lacks.
QString summary(const TimeScale &scale, const QString &code)
{
    const auto name = [&](int stage) { return scale.stages().at(stage).code; };
    if (const Unit *unit = scale.unit(code)) {
        return u"%1..%2 %3-%4"_s.arg(name(unit->first), name(unit->last),
                                     QString::number(unit->base), QString::number(unit->top));
    }
    if (const Period *period = scale.period(code)) {
        const auto stages = scale.periodStages(*period);
        return stages ? u"period "_s + name(stages->first) + u".."_s + name(stages->last)
                      : u"period"_s;
    }
    return u"-"_s;
}

} // namespace

class TestTimeScale : public QObject
{
    Q_OBJECT

private slots:
    void shippedScale()
    {
        const ScaleReading reading = readTimeScale(shippedTimeScaleText());
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors.value(0).message));
        const TimeScale &scale = reading.scale;
        QCOMPARE(scale.version(), u"ICS 2024/12"_s);
        const QList<Stage> &stages = scale.stages();
        QCOMPARE(stages.size(), 103); // the chart's 102 and the Ediacaran
        QCOMPARE(stages.front().code, u"Edia"_s);
        QCOMPARE(stages.back().top, 0.0);
        // No gap, no overlap; within each period its parts in order.
        for (qsizetype i = 0; i < stages.size(); ++i) {
            QVERIFY2(stages[i].base > stages[i].top, qPrintable(stages[i].code));
            if (i == 0)
                continue;
            QVERIFY2(stages[i].base == stages[i - 1].top, qPrintable(stages[i].code));
            if (stages[i].period == stages[i - 1].period && !stages[i - 1].part.isNull() &&
                !stages[i].part.isNull())
                QVERIFY2(stages[i].part >= stages[i - 1].part, qPrintable(stages[i].code));
        }
        // Every code once; every unit within its stages.
        QSet<QString> codes;
        for (const Unit &unit : scale.units()) {
            codes.insert(unit.code);
            QVERIFY2(unit.first <= unit.last && unit.base <= stages[unit.first].base &&
                         unit.top >= stages[unit.last].top && unit.base > unit.top,
                     qPrintable(unit.code));
        }
        for (const QString &present : scale.presentCodes())
            codes.insert(present);
        QCOMPARE(codes.size(), scale.units().size() + scale.presentCodes().size());
        // Every period code but "T" is one run of stages, and every stage is in one.
        QSet<QString> covered;
        for (const Period &period : scale.periods()) {
            QCOMPARE(scale.periodStages(period).has_value(), period.code != u"T");
            for (const QString &name : period.periods)
                covered.insert(name);
        }
        for (const Stage &stage : stages)
            QVERIFY2(covered.contains(stage.period), qPrintable(stage.code));
        QCOMPARE(&shippedTimeScale() == &shippedTimeScale(), true);
        QCOMPARE(shippedTimeScale().units().size(), scale.units().size());
    }

    // Each regional or older sequence of the shipped table in its published
    // order, each unit beginning where the one before it ends, over the span
    // the sequence is known to cover (Ma: the chart's boundaries where it
    // reaches them).
    void regionalSequences_data()
    {
        QTest::addColumn<QStringList>("codes"); // oldest first
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("top");
        const auto row = [](const char *name, const QString &codes, double base, double top) {
            QTest::newRow(name) << codes.split(u' ') << base << top;
        };
        row("Vendian, Russian Platform", u"Lapl Voly Redk Kotl Rovn"_s, 635, 538.8);
        row("Vendian, White Sea", u"Lyam Verk Zimn Erga"_s, 560, 550);
        row("Cambrian, Siberia and Kazakhstan",
            u"Nema Tomm Atda Boto Toyo Amga Maya Ayus Saki Aksa Batr"_s, 538.8, 486.85);
        row("Cambrian, Britain", u"Caer Davi Meri"_s, 538.8, 486.85);
        row("Cambrian, Laurentia", u"Dres Fran Trmp"_s, 499, 486.85);
        row("Ordovician and Silurian, Britain",
            u"Tremadoc Aren Llvi Llde Cara Ashg Llan Wenl Ludl Prid"_s, 486.85, 419.62);
        row("Carboniferous, Western Europe", u"Dina Namu West Step"_s, 358.86, 298.9);
        row("Permian, Russia", u"Asse Sakm Arti Kungur Ufim Kaza Urzh Seve Vyat"_s, 298.9, 251.902);
        row("Permian, Russia, coarser", u"Asse Sakm Arti Kungur Ufim Kaza Tata"_s, 298.9, 251.902);
        row("Permian, Tethys", u"Yakh Bolo Kube Murg Midi Dzhu Dora"_s, 290.1, 251.902);
        row("Permian, Western Europe", u"Autu Saxo Thur"_s, 298.9, 251.902);
        row("Triassic, lower substages", u"Gries Dien Smit Spat"_s, 251.902, 246.7);
        row("Triassic, Germanic", u"Bunt Musc Keup"_s, 251.902, 201.4);
        row("Jurassic, Western Europe", u"Lias Dogg Malm"_s, 201.4, 143.1);
        row("Jurassic and Cretaceous, Boreal", u"Oxfo Kimm Volg Ryaz Vala"_s, 161.5, 132.6);
        row("Aptian substages", u"Bedo Garg Clan"_s, 121.4, 113.2);
        row("Cretaceous, older divisions", u"Neoc Barr Apti Albi Ceno Turo Sene"_s, 143.1, 66);
        row("Paleogene, Western Europe",
            u"Dani Mont Land Spar Cuis Lute Auve Mari Ludi Stam Chat"_s, 66, 23.04);
        row("Neogene, Eastern Paratethys",
            u"Tark Chok Karag Konk Sarm Meot Pont Kimmerian Akch Apsh"_s, 15.98, 0.8);
        row("Quaternary, Russia", u"Eopl Neopl Holo"_s, 2.58, 0);
        row("Epochs of the Cenozoic", u"Pale Eoce Olig Mioc Plio Plei Holo"_s, 66, 0);
    }
    void regionalSequences()
    {
        QFETCH(QStringList, codes);
        QFETCH(double, base);
        QFETCH(double, top);
        const TimeScale &scale = shippedTimeScale();
        QList<const Unit *> units;
        for (const QString &code : codes) {
            units.append(scale.unit(code));
            QVERIFY2(units.back(), qPrintable(code));
        }
        QCOMPARE(units.front()->base, base);
        QCOMPARE(units.back()->top, top);
        for (qsizetype i = 0; i < units.size(); ++i) {
            QVERIFY2(units[i]->base > units[i]->top, qPrintable(codes[i]));
            if (i > 0) {
                QVERIFY2(units[i]->base == units[i - 1]->top,
                         qPrintable(codes[i - 1] + u" then "_s + codes[i]));
            }
        }
    }

    // Spellings and abbreviations compendia write, and the chart's stages
    // each stands for.
    void spellings_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("stages"); // "Floi..Darr"
        const QString pairs =
            u"Tremad Trem..Trem|Arg Floi..Darr|Llv Darr..Darr|Crd Sand..Kati|Ash Kati..Hirn|"
            u"Llandovery Rhud..Tely|Wenlock Shei..Home|Ludlow Gors..Ludf|Přídolí Prid..Prid|"
            u"Lokhkov Loch..Loch|Givet Give..Give|Zhivet Give..Give|Frasn Fras..Fras|"
            u"Famen Fame..Fame|Tourn Tour..Tour|Visé Vise..Vise|Vize Vise..Vise|"
            u"Baschk Bash..Bash|Moscov Mosc..Mosc|Gzhel Gzhe..Gzhe|Sakmar Sakm..Sakm|"
            u"Artinsk Arti..Arti|Kungur Kung..Kung|Kazan Road..Word|Tatar Word..Chan|"
            u"Ladin Ladi..Ladi|Karn Carn..Carn|Nor Nori..Nori|Rhaet Rhae..Rhae|"
            u"Hettang Hett..Hett|Sinem Sine..Sine|Pliensb Plie..Plie|Toarc Toar..Toar|"
            u"Bajoc Bajo..Bajo|Bathon Bath..Bath|Callov Call..Call|Kellov Call..Call|"
            u"Tithon Tith..Tith|Valang Vala..Vala|Hauter Haut..Haut|Apt Apti..Apti|"
            u"Alb Albi..Albi|Cenom Ceno..Ceno|Turon Turo..Turo|Coniac Coni..Coni|"
            u"Santon Sant..Sant|Campan Camp..Camp|Maastr Maas..Maas|Dan Dani..Dani|"
            u"Thanet Than..Than|Ypres Ypre..Ypre|Lutet Lute..Lute|Barton Bart..Bart|"
            u"Priabon Prib..Prib|Rupel Rupe..Rupe|Chatt Chat..Chat|Aquit Aqui..Aqui|"
            u"Burdig Burd..Burd|Langh Lang..Lang|Serrav Serr..Serr|Torton Tort..Tort|"
            u"Messin Mess..Mess|Zancl Zanc..Zanc|Piacenz Piac..Piac|Gelas Gela..Gela|"
            u"Calabr Cala..Cala|Tommot Cm02..Cm02|Botom Cm03..Cm04|Batyr Cm10..Cm10|"
            u"Volg Tith..Berr|Lias Hett..Toar|Sene Coni..Maas|Namur Serp..Bash|"
            u"Westph Bash..Mosc|Redk Edia..Edia|Holocene Gree..Megh"_s;
        addPairRows(pairs, u' ');
    }
    void spellings()
    {
        QFETCH(QString, code);
        QFETCH(QString, stages);
        const TimeScale &scale = shippedTimeScale();
        const Unit *unit = scale.unit(code);
        QVERIFY(unit);
        QCOMPARE(scale.stages()[unit->first].code + u".."_s + scale.stages()[unit->last].code,
                 stages);
    }

    // Every code of the shipped table lies within the stages it names, and
    // names no stage it does not reach: its base in the first, its top in
    // the last.
    void unitsInTheirStages()
    {
        const TimeScale &scale = shippedTimeScale();
        const QList<Stage> &stages = scale.stages();
        for (const Unit &unit : scale.units()) {
            const Stage &first = stages[unit.first];
            const Stage &last = stages[unit.last];
            QVERIFY2(unit.base <= first.base && unit.base > first.top, qPrintable(unit.code));
            QVERIFY2(unit.top >= last.top && unit.top < last.base, qPrintable(unit.code));
        }
    }

    // A period code, or a part of it, stands for the one run of stages of
    // its periods (and part), worked out here from the stages themselves; in
    // a copy of the scale that outlives the reading it was made by, as the
    // program keeps it.
    void periodStagesAreRunsOfTheirStages()
    {
        const TimeScale scale = readTimeScale(shippedTimeScaleText()).scale;
        const QList<Stage> &stages = scale.stages();
        for (const Period &period : scale.periods()) {
            QCOMPARE(scale.period(period.code), &period);
            for (const QChar part : {QChar(), QChar(u'l'), QChar(u'm'), QChar(u'u'), QChar(u'x')}) {
                QList<int> run;
                for (int i = 0; i < int(stages.size()); ++i) {
                    if (period.periods.contains(stages[i].period) &&
                        (part.isNull() || stages[i].part == part))
                        run.append(i);
                }
                const bool oneRun = !run.isEmpty() && run.back() - run.front() == run.size() - 1;
                const auto found = scale.periodStages(period, part);
                const QString what = period.code + u' ' + part;
                QVERIFY2(found.has_value() == oneRun, qPrintable(what));
                if (oneRun)
                    QVERIFY2(found->first == run.front() && found->last == run.back(),
                             qPrintable(what));
            }
        }
        for (const Unit &unit : scale.units())
            QCOMPARE(scale.unit(unit.code), &unit);
        for (const QString &code : scale.presentCodes())
            QVERIFY2(scale.isPresent(code) && !scale.unit(code), qPrintable(code));
    }

    void userFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("errorLines");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected"); // summary() of the code after reading
        QTest::addColumn<QString>("version");
        const QString shipped = u"ICS 2024/12"_s;
        QTest::newRow("a new code") << u"alias,Cmpn,кампан,Camp,Camp"_s << QList<int>{} << u"Cmpn"_s
                                    << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("a shipped code corrected")
            << u"alias,Tomm,томмотский,Fort,Cm02"_s << QList<int>{} << u"Tomm"_s
            << u"Fort..Cm02 538.8-521"_s << shipped;
        QTest::newRow("two stages corrected together")
            << u"stage,Sant,сантонский,K,u,85.7,83.7\nstage,Camp,кампанский,K,u,83.7,72.2"_s
            << QList<int>{} << u"Camp"_s << u"Camp..Camp 83.7-72.2"_s << shipped;
        QTest::newRow("a correction leaving a gap")
            << u"stage,Camp,кампанский,K,u,83.7,72.2"_s << QList<int>{1} << u"Camp"_s
            << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("an age below zero")
            << u"stage,Futu,будущее,Q,,0,-1"_s << QList<int>{1} << u"Futu"_s << u"-"_s << shipped;
        QTest::newRow("not a number") << u"stage,Camp,кампанский,K,u,abc,72.2"_s << QList<int>{1}
                                      << u"Camp"_s << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("an unknown kind of line")
            << u"foo,bar"_s << QList<int>{1} << u"foo"_s << u"-"_s << shipped;
        QTest::newRow("too few fields")
            << u"alias,Abcd,абвг,Camp"_s << QList<int>{1} << u"Abcd"_s << u"-"_s << shipped;
        QTest::newRow("an unknown stage, after a comment and a blank line")
            << u"# mine\n\nalias,Abcd,абвг,Zzzz,Camp"_s << QList<int>{3} << u"Abcd"_s << u"-"_s
            << shipped;
        QTest::newRow("stages backwards")
            << u"alias,Abcd,абвг,Maas,Camp"_s << QList<int>{1} << u"Abcd"_s << u"-"_s << shipped;
        QTest::newRow("ages outside its stages") << u"alias,Abcd,абвг,Camp,Camp,90,80"_s
                                                 << QList<int>{1} << u"Abcd"_s << u"-"_s << shipped;
        QTest::newRow("a code twice")
            << u"alias,Abcd,абвг,Camp,Camp\nalias,Abcd,абвг,Maas,Maas"_s << QList<int>{2}
            << u"Abcd"_s << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("a stage's code for another unit")
            << u"alias,Camp,кампан,Maas,Maas"_s << QList<int>{1} << u"Camp"_s
            << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("a unit's code for the present")
            << u"present,Camp"_s << QList<int>{1} << u"Camp"_s << u"Camp..Camp 83.6-72.2"_s
            << shipped;
        QTest::newRow("a period code")
            << u"period,Kr,мел,K"_s << QList<int>{} << u"Kr"_s << u"period Berr..Maas"_s << shipped;
        QTest::newRow("a period code of no stages")
            << u"period,Kx,мел,K Z"_s << QList<int>{1} << u"Kx"_s << u"-"_s << shipped;
        QTest::newRow("blanks and CR LF")
            << u" alias , Cmpn , кампан , Camp , Camp \r\n"_s << QList<int>{} << u"Cmpn"_s
            << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("not a time scale") << u"\u0000,,,\n,,,,,,,\n{\\rtf1"_s << QList<int>{1, 2, 3}
                                          << u"Camp"_s << u"Camp..Camp 83.6-72.2"_s << shipped;
        QTest::newRow("a version") << u"version,мой 2025"_s << QList<int>{} << u"Camp"_s
                                   << u"Camp..Camp 83.6-72.2"_s << u"ICS 2024/12 + мой 2025"_s;
    }
    void userFile()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, errorLines);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QFETCH(QString, version);
        const ScaleReading reading = readTimeScale(shippedTimeScaleText(), text);
        QList<int> lines;
        for (const ScaleError &error : reading.errors) {
            lines.append(error.line);
            QVERIFY(!error.message.isEmpty());
        }
        QCOMPARE(lines, errorLines);
        QCOMPARE(summary(reading.scale, code), expected);
        QCOMPARE(reading.scale.version(), version);
        QCOMPARE(reading.scale.stages().size(), 103);
    }

    // A scale of its own with more periods than a word has bits: every
    // stage is written under its own period's code and no other.
    void manyPeriods()
    {
        constexpr int Count = 70;
        QString text;
        for (int i = 0; i < Count; ++i)
            text += u"period,C%1,период %1,P%1\n"_s.arg(i);
        for (int i = 0; i < Count; ++i)
            text += u"stage,S%1,ярус %1,P%1,,%2,%3\n"_s.arg(i).arg(Count - i).arg(Count - i - 1);
        const ScaleReading reading = readTimeScale(text);
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors.value(0).message));
        const TimeScale &scale = reading.scale;
        QCOMPARE(scale.stages().size(), Count);
        for (int p = 0; p < Count; ++p) {
            const Period *period = scale.period(u"C%1"_s.arg(p));
            QVERIFY(period);
            const auto stages = scale.periodStages(*period);
            QVERIFY(stages && stages->first == p && stages->last == p);
            for (int s = 0; s < Count; ++s) {
                const Unit *unit = scale.unit(u"S%1"_s.arg(s));
                QVERIFY2(scale.belongsTo(*unit, *period) == (s == p),
                         qPrintable(u"S%1 under C%2"_s.arg(s).arg(p)));
            }
        }
    }

    // Codes alike in their length and their first and last letters, which
    // the lookup's hash cannot tell apart, and many of them: each is found
    // as itself, and a word between them, or one in another case, is none.
    void codesAlikeInTheirEnds()
    {
        constexpr int Count = 300;
        QString text;
        for (int i = 0; i < Count; ++i) {
            text += u"stage,Ab%1cd,ярус %1,K,,%2,%3\n"_s.arg(i, 3, 10, QChar(u'0'))
                        .arg(Count - i)
                        .arg(Count - i - 1);
        }
        text += u"period,K,меловой,K\n"_s;
        const ScaleReading reading = readTimeScale(text);
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors.value(0).message));
        const TimeScale &scale = reading.scale;
        for (int i = 0; i < Count; ++i) {
            const QString code = u"Ab%1cd"_s.arg(i, 3, 10, QChar(u'0'));
            const Unit *unit = scale.unit(code);
            QVERIFY2(unit && unit->code == code && unit->first == i, qPrintable(code));
            QVERIFY(!scale.period(code) && !scale.isPresent(code));
        }
        for (const QString &word : {u"Ab300cd"_s, u"Abcd"_s, u"Ab00cd"_s, u"AB000CD"_s,
                                    u"ab000cd"_s, u"Ab000c"_s, u""_s, u"Ab0000cd"_s})
            QVERIFY2(!scale.meaning(word).unit && !scale.meaning(word).period, qPrintable(word));
        QVERIFY(scale.period(u"K"_s));
        QVERIFY(!TimeScale().meaning(u"K"_s).period); // a scale of no codes at all
    }

    // The user's file as the program finds it on disk.
    void userFileOnDisk_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "dir": a folder in its place; empty: none
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("errorPart");
        const QByteArray line = "alias,Cmpn,кампан,Camp,Camp\n";
        QTest::newRow("none") << QByteArray() << false << QString() << QString();
        QTest::newRow("a file") << line << true << QString::fromUtf8(line) << QString();
        QTest::newRow("at the cap") << QByteArray(data::MaxUserTimeScaleBytes, '#') << true
                                    << QString(data::MaxUserTimeScaleBytes, u'#') << QString();
        QTest::newRow("a byte over the cap")
            << QByteArray(data::MaxUserTimeScaleBytes + 1, '#') << true << QString()
            << u"в нём 1048577 байт, а файл шкалы — не больше 1 МБ"_s;
        QTest::newRow("not UTF-8") << QByteArray("alias,\xcf\xf0,x,Camp,Camp") << true << QString()
                                   << u"не в кодировке UTF-8"_s;
        QTest::newRow("a folder") << QByteArray("dir") << true << QString()
                                  << u"это не обычный файл"_s;
    }
    void userFileOnDisk()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, found);
        QFETCH(QString, text);
        QFETCH(QString, errorPart);
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        const QString path = data::userTimeScalePath();
        QCOMPARE(path, home.path() + u"/fosdat/timescale.csv"_s);
        QVERIFY(QDir().mkpath(home.path() + u"/fosdat"_s));
        if (bytes == "dir") {
            QVERIFY(QDir().mkpath(path));
        } else if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const std::optional<data::UserTimeScale> user = data::readUserTimeScale();
        QCOMPARE(user.has_value(), found);
        if (!user)
            return;
        QCOMPARE(user->text, text);
        QVERIFY2(errorPart.isEmpty() ? user->error.isEmpty() : user->error.contains(errorPart),
                 qPrintable(user->error));
    }
};

QTEST_GUILESS_MAIN(TestTimeScale)
#include "tst_timescale.moc"
