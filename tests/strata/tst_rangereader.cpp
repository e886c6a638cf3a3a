// Genus entries and their ranges read from catalogue lines: every form a
// catalogue writes, every reason a range cannot be placed, and the lines that
// are not genus entries.
#include "GenusEntries.h"
#include "TimeScale.h"

#include <QTest>

using namespace fosdat::strata;
using namespace Qt::StringLiterals;

namespace
{

// What was read from a line, in one comparable string:
// "genus | author | range | first..last as written | stages | flags | status code | family".
QString describe(const GenusEntry &entry, const TimeScale &scale)
{
    const Placement &p = entry.placement;
    const QString stages =
        p.isPlaced() ? scale.stages()[p.first].code + u".."_s + scale.stages()[p.last].code
                     : QString();
    QString flags;
    flags += p.uncertain ? u"?"_s : QString();
    flags += p.extant ? u"rec"_s : QString();
    flags += p.periodOnly ? u"period"_s : QString();
    const QString status =
        reasonKey(p.reason) + (p.code.isEmpty() ? QString() : u' ' + entry.view(p.code).toString());
    return QStringList{entry.genus().toString(),
                       entry.author().toString(),
                       entry.range().toString(),
                       entry.view(p.firstWritten).toString() + u".."_s +
                           entry.view(p.lastWritten).toString(),
                       stages,
                       flags,
                       status,
                       entry.family().toString()}
        .join(u" | "_s);
}

} // namespace

class TestRangeReader : public QObject
{
    Q_OBJECT

private slots:
    void entry_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("read"); // empty: not a genus entry

        const auto row = [](const char *name, const QString &line, const QString &read) {
            QTest::newRow(name) << line << read;
        };
        // Forms that are placed.
        row("one stage", u"Aus K (Camp) (12)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("within a period, tabs", u"Aus\tK (Ceno-Camp)\t(12, 34)"_s,
            u"Aus |  | K (Ceno-Camp) | Ceno..Camp | Ceno..Camp |  | counted | "_s);
        row("across periods, older units", u"Aus O (Aren) - S (Ludl) (12)"_s,
            u"Aus |  | O (Aren) - S (Ludl) | Aren..Ludl | Floi..Ludf |  | counted | "_s);
        row("codes with digits", u"Aus Cm (Cm02-Cm04) (1)"_s,
            u"Aus |  | Cm (Cm02-Cm04) | Cm02..Cm04 | Cm02..Cm04 |  | counted | "_s);
        row("a stage without its period", u"Aus Camp - Maas (1)"_s,
            u"Aus |  | Camp - Maas | Camp..Maas | Camp..Maas |  | counted | "_s);
        row("open: Rec", u"Aus T (Ypre) - Rec (12)"_s,
            u"Aus |  | T (Ypre) - Rec | Ypre.. | Ypre..Megh | rec | counted | "_s);
        row("open: R", u"Aus N (Serr) - R (1)"_s,
            u"Aus |  | N (Serr) - R | Serr.. | Serr..Megh | rec | counted | "_s);
        row("open: Recent after an en dash", u"Aus N (Serr)\u2013Recent (1)"_s,
            u"Aus |  | N (Serr)\u2013Recent | Serr.. | Serr..Megh | rec | counted | "_s);
        row("uncertain stage after", u"Aus T (Serr?) (1)"_s,
            u"Aus |  | T (Serr?) | Serr..Serr | Serr..Serr | ? | counted | "_s);
        row("uncertain period", u"Aus ?K (Camp) (1)"_s,
            u"Aus |  | ?K (Camp) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("uncertain stage before", u"Aus K (?Camp) - Pg (Dani) (1)"_s,
            u"Aus |  | K (?Camp) - Pg (Dani) | Camp..Dani | Camp..Dani | ? | counted | "_s);
        row("qualifier before a stage", u"Aus K (l-Camp) (1)"_s,
            u"Aus |  | K (l-Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("qualifiers around stages", u"Aus K (u.Camp - Maas l) (1)"_s,
            u"Aus |  | K (u.Camp - Maas l) | Camp..Maas | Camp..Maas |  | counted | "_s);
        row("qualifier after a stage", u"Aus K (Camp-u?) (1)"_s,
            u"Aus |  | K (Camp-u?) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("period only", u"Aus K (1)"_s, u"Aus |  | K | .. | Berr..Maas | period | counted | "_s);
        row("lower part of a period", u"Aus l-K (1)"_s,
            u"Aus |  | l-K | .. | Berr..Albi | period | counted | "_s);
        row("upper part, after the period", u"Aus K-u (1)"_s,
            u"Aus |  | K-u | .. | Ceno..Maas | period | counted | "_s);
        row("middle part, blank", u"Aus m J (1)"_s,
            u"Aus |  | m J | .. | Aale..Call | period | counted | "_s);
        row("two periods", u"Aus J - K (1)"_s,
            u"Aus |  | J - K | .. | Hett..Maas | period | counted | "_s);
        row("period, then a stage", u"Aus u.J - K (Camp) (1)"_s,
            u"Aus |  | u.J - K (Camp) | ..Camp | Oxfo..Camp | period | counted | "_s);
        row("the Vendian undivided", u"Aus u-V (1)"_s,
            u"Aus |  | u-V | .. | Edia..Edia | period | counted | "_s);
        row("en dash without blanks", u"Aus K (Ceno)\u2013K (Camp) (1)"_s,
            u"Aus |  | K (Ceno)\u2013K (Camp) | Ceno..Camp | Ceno..Camp |  | counted | "_s);
        row("em dash", u"Aus K (Ceno) \u2014 K (Camp) (1)"_s,
            u"Aus |  | K (Ceno) \u2014 K (Camp) | Ceno..Camp | Ceno..Camp |  | counted | "_s);
        row("minus and wide blanks", u"Aus K (Ceno)  \u2212  K (Camp) (1)"_s,
            u"Aus |  | K (Ceno)  \u2212  K (Camp) | Ceno..Camp | Ceno..Camp |  | counted | "_s);
        row("no blanks at all", u"Aus K(Ceno)-K(Camp)(1)"_s,
            u"Aus |  | K(Ceno)-K(Camp) | Ceno..Camp | Ceno..Camp |  | counted | "_s);
        row("T for the Triassic", u"Aus T (Indu) (1)"_s,
            u"Aus |  | T (Indu) | Indu..Indu | Indu..Indu |  | counted | "_s);
        row("T for the Tertiary", u"Aus K (Turo) - T (Dani) (1)"_s,
            u"Aus |  | K (Turo) - T (Dani) | Turo..Dani | Turo..Dani |  | counted | "_s);
        row("Tr", u"Aus Tr (Anis-Carn) (1)"_s,
            u"Aus |  | Tr (Anis-Carn) | Anis..Carn | Anis..Carn |  | counted | "_s);
        row("Siberian Cambrian", u"Aus Cm (Tomm) - Cm (Boto) (1)"_s,
            u"Aus |  | Cm (Tomm) - Cm (Boto) | Tomm..Boto | Cm02..Cm04 |  | counted | "_s);
        row("Russian Permian", u"Aus P (Kaza) - P (Tata) (1)"_s,
            u"Aus |  | P (Kaza) - P (Tata) | Kaza..Tata | Road..Chan |  | counted | "_s);
        row("Vendian into Cambrian", u"Aus V (Redk) - \u0404 (Tomm) (1)"_s,
            u"Aus |  | V (Redk) - \u0404 (Tomm) | Redk..Tomm | Edia..Cm02 |  | counted | "_s);
        row("a unit across periods", u"Aus K (Volg) (1)"_s,
            u"Aus |  | K (Volg) | Volg..Volg | Tith..Berr |  | counted | "_s);
        row("epochs", u"Aus Q (Plei) - Q (Holo) (1)"_s,
            u"Aus |  | Q (Plei) - Q (Holo) | Plei..Holo | Gela..Megh |  | counted | "_s);
        // Author, marks, subgenus, annotation and remarks around the range.
        row("author and year", u"Aus Ashby, 1900 K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("author in parentheses", u"Aus (M\u00fcller, 1875) K (Camp) (1)"_s,
            u"Aus | (M\u00fcller, 1875) | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("two authors, year with a letter",
            u"Aus K\u0159\u00ed\u017e & \u00d8rvig, 1990a, D (Give) (1)"_s,
            u"Aus | K\u0159\u00ed\u017e & \u00d8rvig, 1990a | D (Give) | Give..Give | Give..Give "
            u"|  | counted | "_s);
        row("an initial like a period code", u"Aus C. Dufour et al., 1901\tC (Tour)\t(1)"_s,
            u"Aus | C. Dufour et al., 1901 | C (Tour) | Tour..Tour | Tour..Tour |  | counted | "_s);
        row("author without a year", u"Aus Ashby K (Camp) (1)"_s,
            u"Aus | Ashby | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("dagger", u"\u2020Aus K (Camp) (1)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("doubtful genus", u"\u2020 ?Aus K (Camp) (1)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("subgenus", u"Aus (Bus) K (Camp) (1)"_s,
            u"Aus (Bus) |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("family after the references",
            u"Aus K (Camp) (1) \u0441\u0435\u043c. Ausidae nom. dub."_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | Ausidae"_s);
        row("family before the range", u"Aus (\u0441\u0435\u043c. Ausidae) K (Camp) (1)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | Ausidae"_s);
        row("no references", u"Aus K (Camp)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        // Every reason a range cannot be placed.
        row("no range", u"Aus (12)"_s, u"Aus |  |  | .. |  |  | no-range | "_s);
        row("no range after the author", u"Aus Ashby, 1900 (12)"_s,
            u"Aus | Ashby, 1900 |  | .. |  |  | no-range | "_s);
        row("unreadable words", u"Aus Ashby, 1900 Jurassic? (12)"_s,
            u"Aus | Ashby, 1900 |  | .. |  |  | unreadable Jurassic? | "_s);
        row("unclosed parenthesis", u"Aus K (Camp (12)"_s,
            u"Aus |  | K (Camp | .. |  |  | unreadable K (Camp | "_s);
        row("nothing after the dash", u"Aus K (Camp) - (12)"_s,
            u"Aus |  | K (Camp) - | .. |  |  | unreadable K (Camp) - | "_s);
        row("unknown period", u"Aus Z (Camp) (1)"_s,
            u"Aus |  | Z (Camp) | .. |  |  | unknown-period Z | "_s);
        row("unknown stage", u"Aus K (Xyzz) (1)"_s,
            u"Aus |  | K (Xyzz) | .. |  |  | unknown-stage Xyzz | "_s);
        row("unknown last stage", u"Aus K (Camp) - K (Mast) (1)"_s,
            u"Aus |  | K (Camp) - K (Mast) | .. |  |  | unknown-stage Mast | "_s);
        row("letter case counts", u"Aus K (camp) (1)"_s,
            u"Aus |  | K (camp) | .. |  |  | unknown-stage camp | "_s);
        row("stage outside its period", u"Aus K (Trem) (1)"_s,
            u"Aus |  | K (Trem) | .. |  |  | stage-outside-period K (Trem) | "_s);
        row("T is not the Cretaceous", u"Aus T (Camp) - T (Dani) (1)"_s,
            u"Aus |  | T (Camp) - T (Dani) | .. |  |  | stage-outside-period T (Camp) | "_s);
        row("T alone", u"Aus T (1)"_s, u"Aus |  | T | .. |  |  | ambiguous-period T | "_s);
        row("lower T", u"Aus l-T (1)"_s, u"Aus |  | l-T | .. |  |  | ambiguous-period l-T | "_s);
        row("no middle Cretaceous", u"Aus m-K (1)"_s,
            u"Aus |  | m-K | .. |  |  | unknown-part m-K | "_s);
        row("reversed", u"Aus K (Maas) - K (Ceno) (1)"_s,
            u"Aus |  | K (Maas) - K (Ceno) | .. |  |  | reversed K (Maas) - K (Ceno) | "_s);
        row("reversed within a period", u"Aus K (Camp-Ceno) (1)"_s,
            u"Aus |  | K (Camp-Ceno) | .. |  |  | reversed K (Camp-Ceno) | "_s);
        row("reversed units of one stage", u"Aus O (Llde) - O (Llvi) (1)"_s,
            u"Aus |  | O (Llde) - O (Llvi) | .. |  |  | reversed O (Llde) - O (Llvi) | "_s);
        row("reversed periods", u"Aus Pg - K (1)"_s,
            u"Aus |  | Pg - K | .. |  |  | reversed Pg - K | "_s);
        // Lines that are not genus entries.
        row("family heading", u"\u0421\u0435\u043c\u0435\u0439\u0441\u0442\u0432\u043e Ausidae"_s,
            {});
        row("synonym", u"= Bus Ashby, 1900 K (Camp) (12)"_s, {});
        row("legend",
            u"\u041e\u0431\u043e\u0437\u043d\u0430\u0447\u0435\u043d\u0438\u044f: K (Camp)"_s, {});
        row("prose", u"Incertae sedis"_s, {});
        row("a note", u"Note: ranges after (12)"_s, {});
        row("a lone family", u"Ausidae Ashby, 1900"_s, {});
        row("capitals", u"FORAMINIFERA K (Camp)"_s, {});
        row("English heading", u"Family Ausidae"_s, {});
        row("the reader's closing line", u"Файл слишком велик: показана его часть"_s, {});
    }

    void entry()
    {
        QFETCH(QString, line);
        QFETCH(QString, read);
        const QList<GenusEntry> entries = readGenusEntries(0, line, shippedTimeScale());
        if (read.isEmpty()) {
            QCOMPARE(entries.size(), 0);
            return;
        }
        QCOMPARE(entries.size(), 1);
        QCOMPARE(describe(entries.front(), shippedTimeScale()), read);
    }

    // Lines no catalogue holds are read to their end, as one entry at most,
    // and the sanitizers see every step.
    void hostileLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("a million dashes") << u"Aus K (Camp) "_s + QString(1'000'000, u'-');
        QTest::newRow("nested parentheses") << u"Aus "_s + QString(100'000, u'(') + u"K"_s;
        QTest::newRow("references without end") << u"Aus (1, 2, 3"_s + u", 4"_s.repeated(50'000);
        QTest::newRow("codes without end") << u"Aus "_s + u"K (Camp) - "_s.repeated(50'000);
        QTest::newRow("questions and qualifiers") << u"Aus "_s + u"?l-"_s.repeated(100'000);
        QTest::newRow("control characters") << u"Aus\u0000K\u0001(\u0002Camp\u0003)\u0000(1)"_s;
        QTest::newRow("lone surrogates")
            << u"Aus K ("_s + QChar(0xd800) + u"Camp"_s + QChar(0xdc00) + u") (1)"_s;
        QTest::newRow("annotations only") << u"Aus "_s + u"сем. "_s.repeated(100'000);
    }
    void hostileLines()
    {
        QFETCH(QString, line);
        const QList<GenusEntry> entries = readGenusEntries(0, line, shippedTimeScale());
        QVERIFY(entries.size() <= 1);
    }

    // Headings set the class, order and family of the entries below them; a
    // line break within a paragraph starts a line of its own.
    void headingsAndPlaces()
    {
        const QString text = u"ЦЕФАЛОПОДЫ\n"
                             u"Класс Cephalopoda\n"
                             u"Отряд Ammonitida\n"
                             u"Семейство Ausidae Ashby, 1900\n"
                             u"Aus K (Camp) (1)\u2028Bus K (Maas) (2)\n"
                             u"= Cus\n"
                             u"Family Dusidae\n"
                             u"  Dus K (Camp) (3)\n"
                             u"Order Belemnitida\n"
                             u"Eus K (Camp) (4)\n"
                             u"Fusidae\n"
                             u"Fus K (Camp) (5)\n"
                             u"Подкласс Coleoidea\n"
                             u"Gus K (Camp) (6)"_s;
        const QList<GenusEntry> entries = readGenusEntries(7, text, shippedTimeScale());
        QStringList read;
        for (const GenusEntry &e : entries) {
            read.append(u"%1 %2 line %3 paragraph %4 at %5: %6/%7/%8"_s.arg(
                e.genus().toString(), QString::number(e.group), QString::number(e.line),
                QString::number(e.paragraph), QString::number(e.offset), e.className().toString(),
                e.order().toString(), e.family().toString()));
        }
        QCOMPARE(read, (QStringList{
                           u"Aus 7 line 5 paragraph 4 at 0: Cephalopoda/Ammonitida/Ausidae"_s,
                           u"Bus 7 line 6 paragraph 4 at 17: Cephalopoda/Ammonitida/Ausidae"_s,
                           u"Dus 7 line 9 paragraph 7 at 2: Cephalopoda/Ammonitida/Dusidae"_s,
                           u"Eus 7 line 11 paragraph 9 at 0: Cephalopoda/Belemnitida/"_s,
                           u"Fus 7 line 13 paragraph 11 at 0: Cephalopoda/Belemnitida/Fusidae"_s,
                           u"Gus 7 line 15 paragraph 13 at 0: Cephalopoda//"_s,
                       }));
    }
};

QTEST_GUILESS_MAIN(TestRangeReader)
#include "tst_rangereader.moc"
