// The shipped time scale, and a user's file over it.
#include "TimeScale.h"
#include "UserTimeScale.h"

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
