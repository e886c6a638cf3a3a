#include "Truth.h"

#include "Catalogue.h"
#include "GroupTable.h"
#include "TimeScale.h"

#include <QStringList>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

QString stageCode(int stage)
{
    return stage < 0 ? QString() : stratigraphy::timeScale().stages().at(stage).code;
}

QString flag(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

QString field(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u'"', u"\"\""_s) + u'"';
}

QString references(const QList<int> &numbers)
{
    QStringList written;
    for (int number : numbers)
        written.append(QString::number(number));
    return written.join(u", "_s);
}

// The order, the family and its doubt an entry is placed under: its own
// note's in the real catalogues' shape, else its headings'.
struct Names {
    QString order;
    QString family;
    bool familyUncertain = false;
};

Names namesOf(const GenusEntry &genus, const Catalogue &catalogue, qsizetype index)
{
    const FamilyEntry &family = catalogue.families[index];
    if (!catalogue.hasNotes(index))
        return {family.order, family.name, catalogue.doubtfulHeading(index)};
    switch (genus.note) {
    case TaxonNote::FamilyAlone:
        return {{}, family.name};
    case TaxonNote::OrderAlone:
        return {family.order, {}};
    case TaxonNote::DoubtfulFamily:
        return {family.order, family.name, true};
    default:
        return {family.order, family.name};
    }
}

QStringList truthRow(const QString &group, int line, const GenusEntry &genus, const Names &names,
                     const Catalogue &catalogue, bool notes)
{
    const WrittenRange &range = genus.range;
    return {group,
            QString::number(line),
            genus.name,
            stageCode(range.first),
            stageCode(range.last),
            flag(range.extant),
            flag(range.uncertain),
            range.status,
            names.family,
            names.order,
            flag(names.familyUncertain),
            notes ? catalogue.classRussian : catalogue.className,
            notes ? catalogue.className : QString(),
            field(genus.author),
            field(references(genus.references)),
            field(range.text),
            range.firstWritten,
            range.lastWritten,
            field(range.code)};
}

} // namespace

QByteArray truthTable(const QList<Catalogue> &catalogues, const QList<QList<int>> &genusLines)
{
    QString csv = u"group,line,genus,first_stage,last_stage,extant,uncertain,status,family,order,"
                  u"family_uncertain,class,class_latin,author,references,range,first_as_written,"
                  u"last_as_written,code\r\n"_s;
    for (qsizetype row = 0; row < catalogues.size(); ++row) {
        const Catalogue &catalogue = catalogues[row];
        const QString group = data::GroupTable.at(std::size_t(row)).caption.toString();
        const QList<int> &lines = genusLines.at(row);
        qsizetype entry = 0;
        for (qsizetype f = 0; f < catalogue.families.size(); ++f) {
            const FamilyEntry &family = catalogue.families[f];
            const bool notes = catalogue.hasNotes(f);
            for (const GenusEntry &genus : family.genera) {
                csv += truthRow(group, lines.at(entry++), genus, namesOf(genus, catalogue, f),
                                catalogue, notes)
                           .join(u',') +
                       u"\r\n"_s;
            }
        }
    }
    return csv.toUtf8();
}

} // namespace fosdat::sampledata
