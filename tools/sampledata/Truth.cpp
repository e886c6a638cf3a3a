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

} // namespace

QByteArray truthTable(const QList<Catalogue> &catalogues, const QList<QList<int>> &genusLines)
{
    QString csv =
        u"group,line,genus,first_stage,last_stage,extant,uncertain,status,family,order\r\n"_s;
    for (qsizetype row = 0; row < catalogues.size(); ++row) {
        const QList<int> &lines = genusLines.at(row);
        qsizetype entry = 0;
        for (const FamilyEntry &family : catalogues[row].families) {
            for (const GenusEntry &genus : family.genera) {
                const WrittenRange &range = genus.range;
                const QStringList fields{data::GroupTable.at(std::size_t(row)).caption.toString(),
                                         QString::number(lines.at(entry++)),
                                         genus.name,
                                         stageCode(range.first),
                                         stageCode(range.last),
                                         range.extant ? u"1"_s : u"0"_s,
                                         range.uncertain ? u"1"_s : u"0"_s,
                                         range.status,
                                         family.name,
                                         family.order};
                csv += fields.join(u',') + u"\r\n"_s;
            }
        }
    }
    return csv.toUtf8();
}

} // namespace fosdat::sampledata
