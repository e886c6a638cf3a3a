#include "ResultsCsv.h"

#include "CatalogueEntries.h"
#include "RangeTables.h"

#include <QBuffer>

namespace fosdat
{

QByteArray resultsCsv(const QList<ResultLine> &lines)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strata::CsvWriter csv(buffer);
    csv.fields({u"group", u"genus", u"text", u"range", u"references"});
    csv.endRow();
    for (const ResultLine &result : lines) {
        const strata::GenusEntry *entry =
            result.entries && result.entry >= 0 ? &result.entries->at(result.entry) : nullptr;
        csv.fields({result.caption, entry ? entry->genus() : QStringView(), result.line,
                    entry ? entry->range() : QStringView(),
                    entry ? entry->references() : QStringView()});
        csv.endRow();
    }
    csv.finish();
    return bytes;
}

} // namespace fosdat
