#include "References.h"

#include "Random.h"

#include <QStringList>
#include <array>
#include <span>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

// The words of one language's references.
struct Vocabulary {
    std::span<const QStringView> surnameStarts;
    std::span<const QStringView> surnameMiddles;
    std::span<const QStringView> surnameEnds;
    QStringView initials;
    std::span<const QStringView> groups;
    std::span<const QStringView> stratons;
    std::span<const QStringView> regions;
    std::span<const QStringView> titleForms; // %1 group, %2 straton, %3 region
    std::span<const QStringView> journals;
    std::span<const QStringView> publishers;
    QStringView articleForm; // %1 issue, %2 first page, %3 last page
    QStringView bookForm;    // %1 publisher, %2 pages
};

using Words = std::span<const QStringView>;

constexpr auto RuStarts = std::to_array<QStringView>(
    {u"Бар", u"Бел",  u"Бор", u"Вас", u"Вер", u"Гор", u"Дан", u"Жар", u"Зар", u"Кар", u"Кор",
     u"Лав", u"Лом",  u"Мар", u"Мор", u"Нар", u"Пан", u"Пер", u"Рад", u"Руд", u"Сав", u"Сел",
     u"Сок", u"Степ", u"Тар", u"Тол", u"Фом", u"Хар", u"Чер", u"Шар", u"Юр",  u"Яр"});
// Every start takes every ending, so the surname needs no middle part.
constexpr auto RuMiddles = std::to_array<QStringView>({u""});
constexpr auto RuEnds = std::to_array<QStringView>(
    {u"ов", u"ин", u"ский", u"енко", u"анов", u"утов", u"ышев", u"охин", u"инский", u"анский",
     u"енков", u"иков", u"ашев", u"ецкий", u"овский"});
constexpr auto RuGroups = std::to_array<QStringView>(
    {u"фораминифер", u"радиолярий",      u"губок",        u"археоциат",   u"ругоз",
     u"табулят",     u"червей",          u"трилобитов",   u"остракод",    u"брахиопод",
     u"мшанок",      u"гастропод",       u"двустворок",   u"аммоноидей",  u"наутилоидей",
     u"белемнитов",  u"криноидей",       u"морских ежей", u"граптолитов", u"конодонтов",
     u"рыб",         u"морских рептилий"});
constexpr auto RuStratons = std::to_array<QStringView>(
    {u"нижнего кембрия", u"среднего кембрия", u"верхнего кембрия", u"ордовика", u"силура",
     u"нижнего девона", u"верхнего девона", u"нижнего карбона", u"верхнего карбона", u"перми",
     u"триаса", u"юры", u"нижнего мела", u"верхнего мела", u"палеогена", u"неогена"});
constexpr auto RuRegions = std::to_array<QStringView>(
    {u"Сибирской платформы", u"Урала", u"Казахстана", u"Средней Азии", u"Кавказа", u"Прибалтики",
     u"Подмосковного бассейна", u"Таймыра", u"Монголии", u"Приморья", u"Северо-Востока СССР",
     u"Крыма", u"Памира", u"Русской платформы", u"Тимана"});
constexpr auto RuTitles = std::to_array<QStringView>(
    {u"Новые роды %1 из отложений %2 %3", u"О некоторых родах %1 %2 %3", u"К систематике %1 %2",
     u"Стратиграфия %2 %3 по данным изучения %1", u"Ревизия %1 %2 %3",
     u"Морфология и систематика %1", u"Филогения и система %1",
     u"Комплексы %1 пограничных отложений %2 %3"});
constexpr auto RuJournals = std::to_array<QStringView>(
    {u"Палеонтол. журн.", u"Докл. АН СССР", u"Изв. АН СССР. Сер. геол.", u"Геология и геофизика",
     u"Бюл. МОИП. Отд. геол.", u"Вестн. МГУ. Сер. 4. Геология", u"Тр. Палеонтол. ин-та АН СССР",
     u"Ежегодник Всесоюз. палеонтол. о-ва"});
constexpr auto RuPublishers =
    std::to_array<QStringView>({u"М.: Наука", u"Л.: Наука", u"М.: Недра", u"Новосибирск: Наука",
                                u"Алма-Ата: Наука", u"М.: Изд-во МГУ"});

constexpr auto EnStarts = std::to_array<QStringView>(
    {u"Ander", u"Bar",  u"Bren", u"Cal", u"Dal", u"Ed",  u"Fair", u"Gar",   u"Hal", u"Hart",
     u"Kin",   u"Lind", u"Mar",  u"Nor", u"Pem", u"Ral", u"Stan", u"Thorn", u"Wal", u"Wes"});
constexpr auto EnMiddles = std::to_array<QStringView>({u"", u"", u"", u"ing", u"den", u"ker"});
constexpr auto EnEnds =
    std::to_array<QStringView>({u"son", u"ton", u"ley", u"wood", u"berg", u"mann", u"field",
                                u"ford", u"well", u"ridge", u"quist", u"holm", u"er", u"ell"});
constexpr auto EnGroups = std::to_array<QStringView>(
    {u"foraminifera", u"radiolarians", u"sponges",    u"archaeocyathans", u"rugose corals",
     u"worms",        u"trilobites",   u"ostracodes", u"brachiopods",     u"bryozoans",
     u"gastropods",   u"bivalves",     u"ammonoids",  u"nautiloids",      u"crinoids",
     u"echinoids",    u"graptolites",  u"conodonts",  u"fishes",          u"marine reptiles"});
constexpr auto EnStratons = std::to_array<QStringView>(
    {u"Lower Cambrian", u"Middle Cambrian", u"Upper Cambrian", u"Ordovician", u"Silurian",
     u"Lower Devonian", u"Upper Devonian", u"Mississippian", u"Pennsylvanian", u"Permian",
     u"Triassic", u"Jurassic", u"Lower Cretaceous", u"Upper Cretaceous", u"Paleogene", u"Neogene"});
constexpr auto EnRegions = std::to_array<QStringView>(
    {u"western Queensland", u"Nevada", u"Bohemia", u"Wales", u"Gotland", u"New South Wales",
     u"Texas", u"Oklahoma", u"Morocco", u"South China", u"Spitsbergen", u"Alberta", u"Normandy",
     u"the Montagne Noire", u"Greenland"});
constexpr auto EnTitles = std::to_array<QStringView>(
    {u"New %1 from the %2 of %3", u"Revision of the %2 %1 of %3", u"%2 %1 of %3",
     u"The classification of %1", u"Evolution and extinction of %2 %1",
     u"Biostratigraphy of the %2 of %3 based on %1", u"Notes on some %2 %1"});
constexpr auto EnJournals = std::to_array<QStringView>(
    {u"J. Paleontol.", u"Palaeontology", u"Geol. Mag.", u"Lethaia", u"Micropaleontology",
     u"Bull. Amer. Paleontol.", u"Fossils and Strata", u"Senckenbergiana Lethaea",
     u"Palaeontographica. Abt. A", u"Alcheringa"});
constexpr auto EnPublishers = std::to_array<QStringView>(
    {u"London: Academic Press", u"Oxford: Clarendon Press", u"New York: Wiley",
     u"Stuttgart: Schweizerbart", u"Lawrence: Univ. Kansas Press", u"Berlin: Springer"});

const Vocabulary Russian{
    RuStarts,  RuMiddles, RuEnds,     u"АБВГДЕИКЛМНОПРСТФЮЯ", RuGroups,           RuStratons,
    RuRegions, RuTitles,  RuJournals, RuPublishers,           u"№ %1. С. %2-%3.", u". %1. %2 с."};
const Vocabulary English{
    EnStarts, EnMiddles,  EnEnds,       u"ABCDEFGHJKLMNPRSTW", EnGroups,      EnStratons, EnRegions,
    EnTitles, EnJournals, EnPublishers, u"Vol. %1. P. %2-%3.", u". %1. %2 p."};

QString author(Random &random, const Vocabulary &words)
{
    QString name = random.pick(words.surnameStarts).toString();
    name += random.pick(words.surnameMiddles);
    name += random.pick(words.surnameEnds);
    name += u' ';
    const int initials = random.percent(80) ? 2 : 1;
    for (int i = 0; i < initials; ++i)
        name += QString(words.initials[random.below(int(words.initials.size()))]) + u'.';
    return name;
}

QString authors(Random &random, const Vocabulary &words)
{
    const int roll = random.below(100);
    const int count = roll < 60 ? 1 : roll < 90 ? 2 : 3;
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(author(random, words));
    return names.join(u", ");
}

// Most of the literature is recent; a few classics go back far.
int year(Random &random)
{
    return random.percent(85) ? random.between(1950, 1994) : random.between(1840, 1949);
}

QString title(Random &random, const Vocabulary &words)
{
    // Not every form uses all three words, which arg() would warn about.
    QString text = random.pick(words.titleForms).toString();
    text.replace(u"%1"_s, random.pick(words.groups).toString());
    text.replace(u"%2"_s, random.pick(words.stratons).toString());
    text.replace(u"%3"_s, random.pick(words.regions).toString());
    text[0] = text[0].toUpper();
    return text;
}

// What follows the title: " // Journal. Vol. 3. P. 12-34." for a paper,
// ". Publisher. 215 p." for a book.
QString source(Random &random, const Vocabulary &words)
{
    if (random.percent(15))
        return words.bookForm.toString().arg(random.pick(words.publishers),
                                             QString::number(random.between(60, 480)));
    const QStringView journal = random.pick(words.journals);
    const int firstPage = random.between(1, 600);
    return u" // "_s + journal.toString() + (journal.endsWith(u'.') ? u" "_s : u". "_s) +
           words.articleForm.toString().arg(QString::number(random.between(1, 160)),
                                            QString::number(firstPage),
                                            QString::number(firstPage + random.between(2, 60)));
}

} // namespace

QString referenceList(Random &random, int first, int last)
{
    QString text;
    for (int number = first; number <= last; ++number) {
        const Vocabulary &words = random.percent(60) ? Russian : English;
        text += QString::number(number) + u". "_s + authors(random, words) + u' ' +
                QString::number(year(random)) + u". "_s + title(random, words) +
                source(random, words) + u"\r\n"_s;
    }
    return text;
}

} // namespace fosdat::sampledata
