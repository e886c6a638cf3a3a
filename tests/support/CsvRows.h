#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// RFC 4180: rows end in CR LF; a quoted field may hold commas, doubled
// quotes and line ends.
inline QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(std::exchange(field, {}));
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row.append(std::exchange(field, {}));
            rows.append(std::exchange(row, {}));
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}
