#pragma once

#include <QString>
#include <QStringView>
#include <QTest>

// Rows of a data-driven test written as "left<between>right|left<between>
// right|…": a row for each, named by its left side, with the two sides as its
// two QString columns.
inline void addPairRows(QStringView rows, QChar between)
{
    for (QStringView row : rows.split(u'|')) {
        const qsizetype at = row.indexOf(between);
        QTest::newRow(qPrintable(row.left(at).toString()))
            << row.left(at).toString() << row.mid(at + 1).toString();
    }
}
