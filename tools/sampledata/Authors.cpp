#include "Authors.h"

#include "Random.h"

#include <array>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

// Made-up surnames in the spelling of the languages palaeontologists wrote in.
constexpr auto Names = std::to_array<QStringView>({
    u"Ashby",    u"Barlow",   u"Bellamy", u"Brandt",   u"Carver",  u"Dawes",   u"Ellery",
    u"Fenwick",  u"Garrod",   u"Harwell", u"Ingram",   u"Jessop",  u"Kellner", u"Lindqvist",
    u"Marsden",  u"Norbury",  u"Ormond",  u"Pellew",   u"Quayle",  u"Rendall", u"Sturgis",
    u"Thorne",   u"Upfield",  u"Varley",  u"Wetherby", u"Yardley", u"Zeller",  u"Aubert",
    u"Bertin",   u"Castel",   u"Dufour",  u"Fabre",    u"Gerber",  u"Hartwig", u"Jansen",
    u"Krause",   u"Lorenz",   u"Moretti", u"Neri",     u"Orlov",   u"Petrov",  u"Rudin",
    u"Savelyev", u"Tikhonov", u"Volkov",  u"Zaitsev",
});

// Names with letters the code page 1251 lacks.
constexpr auto ForeignNames = std::to_array<QStringView>({
    u"Müller",   u"Günther", u"Schlüter",  u"Pérez",     u"Lefèvre",  u"Kříž",
    u"Havlíček", u"Chlupáč", u"Łuczyński", u"Kozłowski", u"Sørensen", u"Bøggild",
    u"Størmer",  u"Öpik",    u"Ørvig",     u"Šnajdr",    u"Hörnes",   u"Brönnimann",
    u"Gümbel",   u"Lóczy",   u"Männil",    u"Kõrts",     u"Dvořák",   u"Núñez",
});

QString surname(Random &random)
{
    if (random.below(1000) < 115)
        return random.pick(ForeignNames).toString();
    return random.pick(Names).toString();
}

} // namespace

QString authorAndYear(Random &random)
{
    const QString year = QString::number(random.between(1820, 2005));
    const int form = random.below(100);
    if (form < 20)
        return surname(random) + u" & "_s + surname(random) + u", "_s + year;
    if (form < 30)
        return surname(random) + u" et al., "_s + year;
    const QString name = surname(random) + u", "_s;
    const QString author = name + year;
    if (form < 40)
        return u'(' + author + u')';
    if (form < 43) // a date known from elsewhere than the work
        return name + u'[' + year + u']';
    if (form < 45) // a work published in parts
        return author + u'\u2013' + QString::number(year.toInt() + 1);
    return author;
}

} // namespace fosdat::sampledata
