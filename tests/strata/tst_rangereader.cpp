// Genus entries read from catalogue lines: every form a range is written in,
// every zone that must not be read as a range, the notes of an entry's order
// and family, headings, and the lines that are not genus entries.
#include "GenusEntries.h"
#include "RangeTokens.h"
#include "TimeScale.h"

#include <QTest>
#include <QThreadPool>

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

// The names an entry is placed under: "class (Latin) / order / family?".
QString namesOf(const GenusEntry &entry)
{
    return u"%1 (%2) / %3 / %4%5"_s.arg(entry.className(), entry.classLatin(), entry.order(),
                                        entry.family(),
                                        entry.familyUncertain() ? u"?"_s : QString());
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
        row("qualifier before a stage", u"Aus K (l-Camp) (1)"_s,
            u"Aus |  | K (l-Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("qualifiers around stages", u"Aus K (u.Camp - Maas l) (1)"_s,
            u"Aus |  | K (u.Camp - Maas l) | Camp..Maas | Camp..Maas |  | counted | "_s);
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
        // Doubt anywhere in the zone: before, inside, after a bracket.
        row("uncertain period", u"Aus ?K (Camp) (1)"_s,
            u"Aus |  | ?K (Camp) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("uncertain after the period", u"Aus K? (Camp) (1)"_s,
            u"Aus |  | K? (Camp) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("uncertain stage before", u"Aus K (?Camp) - Pg (Dani) (1)"_s,
            u"Aus |  | K (?Camp) - Pg (Dani) | Camp..Dani | Camp..Dani | ? | counted | "_s);
        row("uncertain stage after", u"Aus T (Serr?) (1)"_s,
            u"Aus |  | T (Serr?) | Serr..Serr | Serr..Serr | ? | counted | "_s);
        row("qualifier and doubt after a stage", u"Aus K (Camp-u?) (1)"_s,
            u"Aus |  | K (Camp-u?) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("doubt after the bracket", u"Aus K (Camp)? (1)"_s,
            u"Aus |  | K (Camp)? | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("doubt in a bracket of its own", u"Aus K (Camp) (?) (1)"_s,
            u"Aus |  | K (Camp) (?) | Camp..Camp | Camp..Camp | ? | counted | "_s);
        row("stage unknown, period known", u"Aus K (?) (1)"_s,
            u"Aus |  | K (?) | .. | Berr..Maas | ?period | counted | "_s);
        row("doubtful end", u"Aus K (Ceno) - K (Camp)? (1)"_s,
            u"Aus |  | K (Ceno) - K (Camp)? | Ceno..Camp | Ceno..Camp | ? | counted | "_s);
        row("start not known", u"Aus ? - K (Camp) (1)"_s,
            u"Aus |  | ? - K (Camp) | ..Camp |  | ? | unreadable ? - K (Camp) | "_s);
        row("end not known", u"Aus K (Camp) - ? (1)"_s,
            u"Aus |  | K (Camp) - ? | Camp.. |  | ? | unreadable K (Camp) - ? | "_s);
        row("no age at all", u"Aus ? (1)"_s, u"Aus |  | ? | .. |  | ? | unreadable ? | "_s);
        // A coarse end that holds the start: up to the end of the coarse unit.
        row("a period after its stage", u"Aus K (Camp) - K (1)"_s,
            u"Aus |  | K (Camp) - K | Camp.. | Camp..Maas | period | counted | "_s);
        row("a stage within the older unit", u"Aus K (Sene) - K (Camp) (1)"_s,
            u"Aus |  | K (Sene) - K (Camp) | Sene..Camp | Coni..Camp |  | counted | "_s);
        row("the end within the start", u"Aus K (Ceno-Coni) - K (Turo) (1)"_s,
            u"Aus |  | K (Ceno-Coni) - K (Turo) | Ceno..Turo | Ceno..Turo |  | counted | "_s);
        row("a stage after its period", u"Aus K - K (Camp) (1)"_s,
            u"Aus |  | K - K (Camp) | ..Camp | Berr..Camp | period | counted | "_s);
        // Author, marks, subgenus, notes and remarks around the range.
        row("author and year", u"Aus Ashby, 1900 K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("author in parentheses", u"Aus (M\u00fcller, 1875) K (Camp) (1)"_s,
            u"Aus | (M\u00fcller, 1875) | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("two authors, year with a letter",
            u"Aus K\u0159\u00ed\u017e & \u00d8rvig, 1990a, D (Give) (1)"_s,
            u"Aus | K\u0159\u00ed\u017e & \u00d8rvig, 1990a | D (Give) | Give..Give | Give..Give "
            u"|  | counted | "_s);
        row("a dot after the year", u"Aus Ashby, 1900. K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("a dot after the author in parentheses, a year's letter",
            u"Aus (Ashby, 1900a).: K (Camp) (1)"_s,
            u"Aus | (Ashby, 1900a) | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("a year in brackets", u"Aus Ashby, [1900]: K (Camp) (1)"_s,
            u"Aus | Ashby, [1900] | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("the years of a work in parts", u"Aus Ashby, 1899\u20131900: K (Camp) (1)"_s,
            u"Aus | Ashby, 1899\u20131900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("a year, then a range of years", u"Aus Ashby, 1900 - 1901 K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | - 1901 K (Camp) | .. |  |  | unreadable - 1901 K (Camp) | "_s);
        row("an initial like a period code", u"Aus C. Dufour et al., 1901\tC (Tour)\t(1)"_s,
            u"Aus | C. Dufour et al., 1901 | C (Tour) | Tour..Tour | Tour..Tour |  | counted | "_s);
        row("author without a year", u"Aus Ashby K (Camp) (1)"_s,
            u"Aus | Ashby | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("authors without a year", u"Aus de Koninck et Smith-Jones K (Camp) (1)"_s,
            u"Aus | de Koninck et Smith-Jones | K (Camp) | Camp..Camp | Camp..Camp |  | "
            u"counted | "_s);
        row("author only", u"Aus Ashby (12)"_s, u"Aus | Ashby |  | .. |  |  | no-range | "_s);
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
        row("family after the range", u"Aus K (Camp) сем. Ausidae (1)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | Ausidae"_s);
        row("the real shape",
            u"Abaentina Marsh et Bartels, 1823 [отр. Allogromiida, сем. Abreileiropsidae]: "
            u"T (Bart) - Rec (899)."_s,
            u"Abaentina | Marsh et Bartels, 1823 | T (Bart) - Rec | Bart.. | Bart..Megh | rec | "
            u"counted | Abreileiropsidae"_s);
        row("order and family in parentheses",
            u"Aus Ashby, 1900 (отр. Xida; сем. Ausidae) K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | Ausidae"_s);
        row("no references", u"Aus K (Camp)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("control characters count as blanks", u"Aus\u0007Ashby, 1900\rK (Camp)\u0000(1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        // Zones that are not one range: not read, never a shorter range.
        row("unknown code before a stage", u"Aus Xyzz - Camp (1)"_s,
            u"Aus |  | Xyzz - Camp | .. |  |  | unreadable Xyzz - Camp | "_s);
        row("unknown period before its stage", u"Aus Jur (Camp) (1)"_s,
            u"Aus |  | Jur (Camp) | Camp..Camp |  |  | unknown-period Jur | "_s);
        row("unknown short period", u"Aus Z (Camp) (1)"_s,
            u"Aus |  | Z (Camp) | Camp..Camp |  |  | unknown-period Z | "_s);
        row("a third part to the present", u"Aus K (Camp) - K (Maas) - Rec (1)"_s,
            u"Aus |  | K (Camp) - K (Maas) - Rec | .. |  |  | unreadable K (Camp) - K (Maas) - "
            u"Rec | "_s);
        row("a third part", u"Aus K (Camp) - Pg (Dani) - N (Aqui) (1)"_s,
            u"Aus |  | K (Camp) - Pg (Dani) - N (Aqui) | .. |  |  | unreadable K (Camp) - Pg "
            u"(Dani) - N (Aqui) | "_s);
        row("a list", u"Aus K (Camp), K (Maas) (1)"_s,
            u"Aus |  | K (Camp), K (Maas) | .. |  |  | unreadable K (Camp), K (Maas) | "_s);
        row("two ranges", u"Aus K (Camp) Pg (Dani) (1)"_s,
            u"Aus |  | K (Camp) Pg (Dani) | .. |  |  | unreadable K (Camp) Pg (Dani) | "_s);
        row("words before", u"Aus nom. dub. K (Camp) (1)"_s,
            u"Aus |  | nom. dub. K (Camp) | .. |  |  | unreadable nom. dub. K (Camp) | "_s);
        row("words after the year", u"Aus Ashby, 1900 emend. K (Camp) (1)"_s,
            u"Aus | Ashby, 1900 | emend. K (Camp) | .. |  |  | unreadable emend. K (Camp) | "_s);
        row("words after", u"Aus Ashby, 1900: K (Camp) in part (1)"_s,
            u"Aus | Ashby, 1900 | K (Camp) in part | .. |  |  | unreadable K (Camp) in part | "_s);
        row("an author after the range", u"Aus K (Camp) Ashby, 1900 (1)"_s,
            u"Aus |  | K (Camp) Ashby, 1900 | .. |  |  | unreadable K (Camp) Ashby, 1900 | "_s);
        row("a year in parentheses", u"Aus K (Camp) (1975)"_s,
            u"Aus |  | K (Camp) (1975) | .. |  |  | unreadable K (Camp) (1975) | "_s);
        row("a range on both sides of a note", u"Aus K (Camp) [сем. Ausidae] K (Maas) (1)"_s,
            u"Aus |  | K (Camp) [сем. Ausidae] K (Maas) | .. |  |  | unreadable K (Camp) "
            u"[сем. Ausidae] K (Maas) | Ausidae"_s);
        row("a name before the range after a note", u"Aus Ashby [сем. Ausidae]: K (Camp) (1)"_s,
            u"Aus | Ashby | K (Camp) | Camp..Camp | Camp..Camp |  | counted | Ausidae"_s);
        row("words before a note", u"Aus nom. dub. [сем. Ausidae]: K (Camp) (1)"_s,
            u"Aus |  | nom. dub. [сем. Ausidae]: K (Camp) | .. |  |  | unreadable nom. dub. "
            u"[сем. Ausidae]: K (Camp) | Ausidae"_s);
        row("the present alone", u"Aus Rec (1)"_s,
            u"Aus |  | Rec | .. |  |  | unreadable Rec | "_s);
        row("the present first", u"Aus Rec - K (Camp) (1)"_s,
            u"Aus |  | Rec - K (Camp) | .. |  |  | unreadable Rec - K (Camp) | "_s);
        // A name and a colon, without an author; soft hyphens, which a word
        // processor keeps where it may break a long word.
        row("no author, a colon", u"Aus: K (Camp) (12)"_s,
            u"Aus |  | K (Camp) | Camp..Camp | Camp..Camp |  | counted | "_s);
        row("no author, a colon, no range", u"Aus: (12)"_s,
            u"Aus |  |  | .. |  |  | no-range | "_s);
        row("no author, a colon, words and references", u"Aus: nom. dub. K (Camp) (12)"_s,
            u"Aus |  | nom. dub. K (Camp) | .. |  |  | unreadable nom. dub. K (Camp) | "_s);
        row("no author, a colon, an unknown stage", u"Aus: K (Xyzz)."_s,
            u"Aus |  | K (Xyzz) | Xyzz..Xyzz |  |  | unknown-stage Xyzz | "_s);
        row("soft hyphens in names",
            u"Ac\u00adro\u00adrus Ash\u00adby, 1900 [сем. Ac\u00adroridae]: K (Camp) (12)"_s,
            u"Ac\u00adro\u00adrus | Ash\u00adby, 1900 | K (Camp) | Camp..Camp | Camp..Camp |  | "
            u"counted | Ac\u00adroridae"_s);
        row("soft hyphens in codes", u"Aus Ashby, 1900 C\u00adm (Ter\u00adr) - O (Aren) (12)"_s,
            u"Aus | Ashby, 1900 | C\u00adm (Ter\u00adr) - O (Aren) | Ter\u00adr..Aren | Fort..Darr "
            u"|  | counted | "_s);
        // Every reason a range cannot be placed; codes as written, without
        // the punctuation of the notes around them.
        row("no range", u"Aus (12)"_s, u"Aus |  |  | .. |  |  | no-range | "_s);
        row("no range after the author", u"Aus Ashby, 1900 (12)"_s,
            u"Aus | Ashby, 1900 |  | .. |  |  | no-range | "_s);
        row("no range after a note", u"Aus Ashby, 1900 [сем. Ausidae]: (12)."_s,
            u"Aus | Ashby, 1900 |  | .. |  |  | no-range | Ausidae"_s);
        row("unreadable words", u"Aus Ashby, 1900 [сем. Ausidae]: Jurassic? (12)"_s,
            u"Aus | Ashby, 1900 | Jurassic? | .. |  | ? | unreadable Jurassic? | Ausidae"_s);
        row("unclosed parenthesis", u"Aus K (Camp (12)"_s,
            u"Aus |  | K (Camp | .. |  |  | unreadable K (Camp | "_s);
        row("nothing after the dash", u"Aus K (Camp) - (12)"_s,
            u"Aus |  | K (Camp) - | .. |  |  | unreadable K (Camp) - | "_s);
        row("unknown stage", u"Aus K (Xyzz) (1)"_s,
            u"Aus |  | K (Xyzz) | Xyzz..Xyzz |  |  | unknown-stage Xyzz | "_s);
        row("unknown stage after a note", u"Aus Ashby, 1900 [сем. Ausidae]: K (Xyzz). (1)"_s,
            u"Aus | Ashby, 1900 | K (Xyzz) | Xyzz..Xyzz |  |  | unknown-stage Xyzz | Ausidae"_s);
        row("unknown stage, readable end", u"Aus Cm (Xyzz) - O (Aren) (1)"_s,
            u"Aus |  | Cm (Xyzz) - O (Aren) | Xyzz..Aren |  |  | unknown-stage Xyzz | "_s);
        row("unknown last stage", u"Aus K (Camp) - K (Mast) (1)"_s,
            u"Aus |  | K (Camp) - K (Mast) | Camp..Mast |  |  | unknown-stage Mast | "_s);
        row("letter case counts", u"Aus K (camp) (1)"_s,
            u"Aus |  | K (camp) | camp..camp |  |  | unknown-stage camp | "_s);
        row("stage outside its period", u"Aus K (Trem) (1)"_s,
            u"Aus |  | K (Trem) | Trem..Trem |  |  | stage-outside-period K (Trem) | "_s);
        row("T is not the Cretaceous", u"Aus T (Camp) - T (Dani) (1)"_s,
            u"Aus |  | T (Camp) - T (Dani) | Camp..Dani |  |  | stage-outside-period T (Camp) | "_s);
        row("T alone", u"Aus T (1)"_s, u"Aus |  | T | .. |  |  | ambiguous-period T | "_s);
        row("lower T", u"Aus l-T (1)"_s, u"Aus |  | l-T | .. |  |  | ambiguous-period l-T | "_s);
        row("no middle Cretaceous", u"Aus m-K (1)"_s,
            u"Aus |  | m-K | .. |  |  | unknown-part m-K | "_s);
        row("reversed", u"Aus K (Maas) - K (Ceno) (1)"_s,
            u"Aus |  | K (Maas) - K (Ceno) | Maas..Ceno |  |  | reversed K (Maas) - K (Ceno) | "_s);
        row("reversed, the end just before", u"Aus K (Sant) - K (Coni) (1)"_s,
            u"Aus |  | K (Sant) - K (Coni) | Sant..Coni |  |  | reversed K (Sant) - K (Coni) | "_s);
        row("reversed within a period", u"Aus K (Camp-Ceno) (1)"_s,
            u"Aus |  | K (Camp-Ceno) | Camp..Ceno |  |  | reversed K (Camp-Ceno) | "_s);
        row("reversed units of one stage", u"Aus O (Llde) - O (Llvi) (1)"_s,
            u"Aus |  | O (Llde) - O (Llvi) | Llde..Llvi |  |  | reversed O (Llde) - O (Llvi) | "_s);
        row("reversed periods", u"Aus Pg - K (1)"_s,
            u"Aus |  | Pg - K | .. |  |  | reversed Pg - K | "_s);
        // Lines that are not genus entries.
        row("family heading", u"\u0421\u0435\u043c\u0435\u0439\u0441\u0442\u0432\u043e Ausidae"_s,
            {});
        row("synonym", u"= Bus Ashby, 1900 K (Camp) (12)"_s, {});
        row("legend",
            u"\u041e\u0431\u043e\u0437\u043d\u0430\u0447\u0435\u043d\u0438\u044f: K (Camp)"_s, {});
        row("prose", u"Incertae sedis"_s, {});
        row("a note", u"Note: see below"_s, {});
        row("a note that names a range", u"Note: K (Camp) is the Campanian"_s, {});
        row("a family and a colon", u"Ausidae: K (Camp) (12)"_s, {});
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

    // The references as the view's reference links find them: numbers of 1
    // to 1200 alone in parentheses, the first such list.
    void references_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("references");
        QTest::addColumn<QString>("range");
        QTest::newRow("commas") << u"Aus K (Camp) (206, 553, 1020)"_s << u"206, 553, 1020"_s
                                << u"K (Camp)"_s;
        QTest::newRow("semicolons")
            << u"Aus K (Camp) (116; 947)"_s << u"116; 947"_s << u"K (Camp)"_s;
        QTest::newRow("blanks alone") << u"Aus K (Camp) (3 4)"_s << u"3 4"_s << u"K (Camp)"_s;
        QTest::newRow("no-break space")
            << u"Aus K (Camp) ( 12,\u00a034 )"_s << u"12,\u00a034"_s << u"K (Camp)"_s;
        QTest::newRow("the first list only")
            << u"Aus K (Camp) (12) (45)"_s << u"12"_s << u"K (Camp)"_s;
        QTest::newRow("above 1200")
            << u"Aus K (Camp) (1201)"_s << QString() << u"K (Camp) (1201)"_s;
        QTest::newRow("a leading zero")
            << u"Aus K (Camp) (012)"_s << QString() << u"K (Camp) (012)"_s;
        QTest::newRow("two separators")
            << u"Aus K (Camp) (1,, 2)"_s << QString() << u"K (Camp) (1,, 2)"_s;
        QTest::newRow("a page range")
            << u"Aus K (Camp) (12-15)"_s << QString() << u"K (Camp) (12-15)"_s;
    }
    void references()
    {
        QFETCH(QString, line);
        QFETCH(QString, references);
        QFETCH(QString, range);
        const QList<GenusEntry> entries = readGenusEntries(0, line, shippedTimeScale());
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].references().toString(), references);
        QCOMPARE(entries[0].range().toString(), range);
    }

    // Headings set the class, order and family of the entries below them;
    // an entry's own note names its order and family over theirs.
    void taxonomy_data()
    {
        QTest::addColumn<QString>("text"); // the entry last
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("author");
        const auto row = [](const char *name, const QString &text, const QString &names,
                            const QString &author) {
            QTest::newRow(name) << text << names << author;
        };
        row("headings",
            u"Класс Cephalopoda\nОтряд Ammonitida\nСемейство Ausidae Hyatt, 1900\n"
            u"Aus K (Camp) (1)"_s,
            u"Cephalopoda () / Ammonitida / Ausidae"_s, QString());
        row("a class of two words and its Latin name",
            u"Класс Морские лилии (Crinoidea)\nAus Ashby, 1900 [отр. Xida, сем. Ausidae]: K (Camp) "
            u"(1)."_s,
            u"Морские лилии (Crinoidea) / Xida / Ausidae"_s, u"Ashby, 1900"_s);
        row("a heading in capitals",
            u"КЛАСС МОРСКИЕ ЛИЛИИ (CRINOIDEA)\nОТРЯД CLADIDA\nAus K (Camp) (1)"_s,
            u"МОРСКИЕ ЛИЛИИ (CRINOIDEA) / CLADIDA / "_s, QString());
        row("an author in capitals after a name that is not",
            u"Класс Морские лилии (Crinoidea) ИВАНОВ, 1950\nAus K (Camp) (1)"_s,
            u"Морские лилии (Crinoidea) /  / "_s, QString());
        row("order and family in parentheses",
            u"Класс Crinoidea\nAus Ashby, 1900 (отр. Xida; сем. Ausidae) K (Camp) (1)"_s,
            u"Crinoidea () / Xida / Ausidae"_s, u"Ashby, 1900"_s);
        row("the entry's own order and family over the headings'",
            u"Отряд Yida\nСемейство Bidae\nAus Ashby, 1900 [отр. Xida, сем. Ausidae]: K (Camp) (1)"_s,
            u" () / Xida / Ausidae"_s, u"Ashby, 1900"_s);
        row("an order alone", u"Отряд Yida\nAus Ashby, 1900 [отр. Xida]: K (Camp) (1)"_s,
            u" () / Xida / "_s, u"Ashby, 1900"_s);
        row("an order alone, the heading's family",
            u"Семейство Bidae\nAus Ashby, 1900 [отр. Xida]: K (Camp) (1)"_s,
            u" () / Xida / Bidae"_s, u"Ashby, 1900"_s);
        row("a family placed with doubt", u"Aus Ashby, 1900 [сем. ?Ausidae]: K (Camp) (1)"_s,
            u" () /  / Ausidae?"_s, u"Ashby, 1900"_s);
        row("doubt after the family", u"Aus (сем. Ausidae?) K (Camp) (1)"_s, u" () /  / Ausidae?"_s,
            QString());
        row("the family after the references, over the heading's",
            u"Семейство Bidae\nAus K (Camp) (1) сем. ?Ausidae"_s, u" () /  / Ausidae?"_s,
            QString());
        row("a note in capitals", u"Aus Ashby, 1900 [Отр. Xida, СЕМ. Ausidae]: K (Camp) (1)"_s,
            u" () / Xida / Ausidae"_s, u"Ashby, 1900"_s);
        row("dots of initials before the note",
            u"Aus A. B. Smith, 1900 [сем. Ausidae]: K (Camp) (1)"_s, u" () /  / Ausidae"_s,
            u"A. B. Smith, 1900"_s);
        row("a note after parentheses closed", u"Aus (Smith, 1900) сем. Ausidae K (Camp) (1)"_s,
            u" () /  / Ausidae"_s, u"(Smith, 1900)"_s);
        row("a word ending in the note's letters, then the note",
            u"Aus Ashby, 1900 [Xсем. Bidae, сем. Ausidae]: K (Camp) (1)"_s, u" () /  / Ausidae"_s,
            u"Ashby, 1900"_s);
        row("two notes in brackets of their own",
            u"Aus Ashby, 1900 (отр. Xida) [сем. Ausidae] K (Camp) (1)"_s, u" () / Xida / Ausidae"_s,
            u"Ashby, 1900"_s);
        row("a new class ends the order and family",
            u"Отряд Yida\nСемейство Bidae\nКласс Морские ежи (Echinoidea) Ashby, 1900\n"
            u"Aus K (Camp) (1)"_s,
            u"Морские ежи (Echinoidea) /  / "_s, QString());
        row("an order ends the family", u"Семейство Bidae\nOrder Xida\nAus K (Camp) (1)"_s,
            u" () / Xida / "_s, QString());
        row("a lone family name", u"Отряд Yida\nBidae\nAus K (Camp) (1)"_s, u" () / Yida / Bidae"_s,
            QString());
        row("a subfamily keeps the family", u"Семейство Bidae\nAusinae\nAus K (Camp) (1)"_s,
            u" () /  / Bidae"_s, QString());
        row("a family not named", u"Семейство incertae sedis\nAus K (Camp) (1)"_s,
            u" () /  / incertae sedis"_s, QString());
        row("a family not named in the note",
            u"Семейство Bidae\nAus Ashby, 1900 [отр. Xida, сем. Incertae  sedis]: K (Camp) (1)"_s,
            u" () / Xida / Incertae  sedis"_s, u"Ashby, 1900"_s);
        row("a heading's family placed with doubt",
            u"Отряд Yida\nСемейство ?Bidae Hyatt, 1900\nAus K (Camp) (1)"_s,
            u" () / Yida / Bidae?"_s, QString());
        row("a lone family name placed with doubt", u"?Bidae\nAus K (Camp) (1)"_s,
            u" () /  / Bidae?"_s, QString());
        row("a lone family name with doubt after it", u"Bidae?\nAus K (Camp) (1)"_s,
            u" () /  / Bidae?"_s, QString());
        row("a word after incertae that is not sedis",
            u"Aus Ashby, 1900 [отр. incertae, сем. Ausidae]: K (Camp) (1)"_s,
            u" () / incertae / Ausidae"_s, u"Ashby, 1900"_s);
    }
    void taxonomy()
    {
        QFETCH(QString, text);
        QFETCH(QString, names);
        QFETCH(QString, author);
        const QList<GenusEntry> entries = readGenusEntries(0, text, shippedTimeScale());
        QCOMPARE(entries.size(), 1);
        QCOMPARE(namesOf(entries[0]), names);
        QCOMPARE(entries[0].author().toString(), author);
        QCOMPARE(entries[0].range().toString(), u"K (Camp)"_s);
    }

    // Lines no catalogue holds are read to their end, as one entry at most,
    // and the sanitizers see every step.
    void hostileLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("a million dashes") << u"Aus K (Camp) "_s + QString(1'000'000, u'-');
        QTest::newRow("nested parentheses") << u"Aus "_s + QString(100'000, u'(') + u"K"_s;
        QTest::newRow("nested brackets") << u"Aus "_s + u"[сем. "_s.repeated(100'000);
        QTest::newRow("references without end") << u"Aus (1, 2, 3"_s + u", 4"_s.repeated(50'000);
        QTest::newRow("lists without end") << u"Aus "_s + u"(1 "_s.repeated(50'000);
        QTest::newRow("codes without end") << u"Aus "_s + u"K (Camp) - "_s.repeated(50'000);
        QTest::newRow("questions and qualifiers") << u"Aus "_s + u"?l-"_s.repeated(100'000);
        QTest::newRow("names without end") << u"Aus "_s + u"Ashby et "_s.repeated(100'000);
        QTest::newRow("years without end") << u"Aus "_s + u"1900 "_s.repeated(100'000);
        QTest::newRow("control characters") << u"Aus\u0000K\u0001(\u0002Camp\u0003)\u0000(1)"_s;
        QTest::newRow("lone surrogates")
            << u"Aus K ("_s + QChar(0xd800) + u"Camp"_s + QChar(0xdc00) + u") (1)"_s;
        QTest::newRow("annotations only") << u"Aus "_s + u"сем. "_s.repeated(100'000);
        QTest::newRow("a note at the end") << u"Aus K (Camp) (1) сем."_s;
    }
    void hostileLines()
    {
        QFETCH(QString, line);
        const QList<GenusEntry> entries = readGenusEntries(0, line, shippedTimeScale());
        QVERIFY(entries.size() <= 1);
    }

    // The search for a bracket or a dot, or for either of two line ends,
    // which reads eight characters at a time, finds what std::find() finds:
    // in every stretch of a text, with the characters sought at every place,
    // before and after each end of it, or nowhere.
    void findsWhatStdFindFinds()
    {
        for (int length = 0; length <= 40; ++length) {
            for (int place = -1; place < length; ++place) {
                QString text(length, u'a');
                if (place >= 0) {
                    text[place] = u'(';
                    text[length - 1 - place] = u')';
                }
                for (int from = 0; from <= length; ++from) {
                    for (int to = from; to <= length; ++to) {
                        const auto begin = text.cbegin() + from;
                        const auto end = text.cbegin() + to;
                        QCOMPARE(tokens::find(text, from, to, u'('),
                                 std::find(begin, end, u'(') - text.cbegin());
                        QCOMPARE(tokens::find(text, from, to, u')', u'('),
                                 std::find_if(begin, end, [](QChar c) {
                                     return c == u'(' || c == u')';
                                 }) - text.cbegin());
                    }
                }
            }
        }
    }

    // A line break within a paragraph starts a line of its own; lines and
    // paragraphs count from the catalogue's start.
    void places()
    {
        const QString text = u"ЦЕФАЛОПОДЫ\n"
                             u"Класс Cephalopoda\n"
                             u"Aus K (Camp) (1)\u2028Bus K (Maas) (2)\n"
                             u"= Cus\n"
                             u"  Dus\u000bK (Camp) (3)\n"
                             u"\n"
                             u"Eus K (Camp) (4)"_s;
        const QList<GenusEntry> entries = readGenusEntries(7, text, shippedTimeScale());
        QStringList read;
        for (const GenusEntry &e : entries) {
            read.append(u"%1 %2 line %3 paragraph %4 at %5"_s.arg(
                e.genus().toString(), QString::number(e.group), QString::number(e.line),
                QString::number(e.paragraph), QString::number(e.offset)));
        }
        QCOMPARE(read, (QStringList{
                           u"Aus 7 line 3 paragraph 2 at 0"_s,
                           u"Bus 7 line 4 paragraph 2 at 17"_s,
                           u"Dus 7 line 6 paragraph 4 at 2"_s,
                           u"Eus 7 line 8 paragraph 6 at 0"_s,
                       }));
    }

    // A catalogue read in many pieces on any number of threads: every
    // entry's place and names as one reading of it line by line gives them,
    // the headings above a piece carried into it.
    void piecesAndThreads_data()
    {
        QTest::addColumn<int>("threads");
        QTest::newRow("one thread") << 1;
        QTest::newRow("two threads") << 2;
        QTest::newRow("five threads") << 5;
    }
    void piecesAndThreads()
    {
        QFETCH(int, threads);
        // Each thousandth line a heading, in turn a class, an order, a family.
        QString text;
        QStringList expected;
        QString className, order, family;
        for (int line = 1; line <= 30'000; ++line) {
            QString n = QString::number(line);
            for (QChar &c : n)
                c = QChar(c.unicode() - u'0' + u'a'); // names of letters
            if (line % 3000 == 1) {
                className = u"Classis%1"_s.arg(n);
                order = family = QString();
                text += u"Класс "_s + className + u" (Latina)"_s;
            } else if (line % 1000 == 1) {
                order = u"Ordo%1ida"_s.arg(n);
                family = QString();
                text += u"Отряд "_s + order;
            } else if (line % 500 == 1) {
                // Every other family placed with doubt, as its heading says.
                const bool doubt = line % 1000 == 501;
                family = u"Familia%1idae"_s.arg(n);
                text += doubt ? u"Семейство ?"_s + family : family;
                family += doubt ? u"?"_s : QString();
            } else {
                text += u"Aus Ashby, 1900 K (Camp) (%1)"_s.arg(line % 1200 + 1);
                expected.append(
                    u"%1 %2/%3/%4"_s.arg(QString::number(line), className, order, family));
            }
            text += line % 7 == 0 ? u'\u2028' : u'\n';
        }
        const int before = QThreadPool::globalInstance()->maxThreadCount();
        QThreadPool::globalInstance()->setMaxThreadCount(threads);
        const QList<GenusEntry> entries =
            readGenusEntries({{3, u"Aus K (Camp)"_s}, {4, text}, {5, {}}}, shippedTimeScale());
        QThreadPool::globalInstance()->setMaxThreadCount(before);
        QStringList read;
        for (const GenusEntry &e : entries.mid(1)) {
            QCOMPARE(e.group, 4);
            read.append(u"%1 %2/%3/%4%5"_s.arg(QString::number(e.line), e.className(), e.order(),
                                               e.family(), e.familyUncertain() ? u"?" : u""));
        }
        QCOMPARE(entries.front().group, 3);
        QCOMPARE(read, expected);
    }
};

QTEST_GUILESS_MAIN(TestRangeReader)
#include "tst_rangereader.moc"
