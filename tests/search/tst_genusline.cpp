// The parts of a genus entry's line that the export writes: the forms of
// real catalogue lines, and lines that are no genus entry.
#include "GenusLine.h"

#include <QTest>

using namespace fosdat;

class TestGenusLine : public QObject
{
    Q_OBJECT

private slots:
    void parts_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts"); // genus, range, references
        const std::pair<const char *, QStringList> rows[] = {
            {"Acrorhabdammina\tP (Asse) - P (Ufim)\t(206, 553, 1020)",
             {"Acrorhabdammina", "P (Asse) - P (Ufim)", "206, 553, 1020"}},
            {"Spiraster Ashby, 1975  O (Llde) - C (Tour)  (116; 947)",
             {"Spiraster", "O (Llde) - C (Tour)", "116; 947"}},
            // Authors in brackets, with letters outside the old code page.
            {"\u2020Aus (M\u00fcller & \u010cech, 1890) J (Oxfo)-K (Camp) (3 4)",
             {"Aus", "J (Oxfo)-K (Camp)", "3 4"}},
            // Only the first list of numbers is the references.
            {"?Bus Smith et al., 2001 K (Camp) (12) (45)", {"Bus", "K (Camp)", "12"}},
            {"Cus Dawes, 1911 (\u0441\u0435\u043c. Cusidae) Rec (7)", {"Cus", "Rec", "7"}},
            // A year in brackets is no reference, nor the author's year.
            {"Dus K (Camp) (1975)", {"Dus", "K (Camp) (1975)", ""}},
            {"Eus", {"Eus", "", ""}},
            // Headings, a family's name, capitals, prose: no genus entry.
            {"\u0421\u0435\u043c\u0435\u0439\u0441\u0442\u0432\u043e Acrorhabdamminidae (12)",
             {"", "", ""}},
            {"Family Spirasteridae", {"", "", ""}},
            {"Spirasteridae (4)", {"", "", ""}},
            {"ABCDIA K (Camp) (4)", {"", "", ""}},
            {"Note. See (4)", {"", "", ""}},
        };
        for (const auto &[line, parts] : rows)
            QTest::newRow(line) << QString::fromUtf8(line) << parts;
    }
    void parts()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        const GenusLine read = readGenusLine(line);
        QCOMPARE((QStringList{read.genus.in(line).toString(), read.range.in(line).toString(),
                              read.references.in(line).toString()}),
                 parts);
        QCOMPARE(genusName(line), read.genus);
    }
};

QTEST_APPLESS_MAIN(TestGenusLine)
#include "tst_genusline.moc"
