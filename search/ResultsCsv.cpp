#include "ResultsCsv.h"

#include "GenusLine.h"

#include <algorithm>

namespace fosdat
{

namespace
{

void appendField(QString &csv, QStringView field)
{
    const bool quoted = std::any_of(field.begin(), field.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
    });
    if (!quoted) {
        csv += field;
        return;
    }
    csv += u'"';
    for (const QChar c : field) {
        if (c == u'"')
            csv += u'"';
        csv += c;
    }
    csv += u'"';
}

void appendRow(QString &csv, std::initializer_list<QStringView> fields)
{
    bool first = true;
    for (const QStringView field : fields) {
        if (!first)
            csv += u',';
        first = false;
        appendField(csv, field);
    }
    csv += QStringLiteral("\r\n");
}

} // namespace

QByteArray resultsCsv(const QList<ResultLine> &lines)
{
    QString csv;
    appendRow(csv, {u"group", u"genus", u"text", u"range", u"references"});
    for (const ResultLine &result : lines) {
        // A line break within the paragraph is one in the cell.
        const QString line = QString(result.line).replace(QChar::LineSeparator, u'\n');
        const GenusLine parts = readGenusLine(line);
        appendRow(csv, {result.caption, parts.genus.in(line), line, parts.range.in(line),
                        parts.references.in(line)});
    }
    return csv.toUtf8();
}

} // namespace fosdat
