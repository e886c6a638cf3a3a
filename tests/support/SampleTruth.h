#pragma once

#include "DataFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row of the truth file the sample generator writes beside the data set
// (truth/genera.csv): a genus entry as the generator meant it.
struct Truth {
    QString group, line, genus, first, last;
    bool extant = false, uncertain = false;
    QString status, family, order;
};

inline QList<Truth> readTruth(const QString &path)
{
    const std::optional<QByteArray> bytes = fosdat::data::readRegularFile(path);
    QList<Truth> rows;
    if (!bytes)
        return rows;
    const QStringList lines =
        QString::fromUtf8(*bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (const QString &line : lines.mid(1)) {
        const QStringList f = line.split(u',');
        rows.append({f[0], f[1], f[2], f[3], f[4], f[5] == u"1", f[6] == u"1", f[7], f[8], f[9]});
    }
    return rows;
}
