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
        QTest::addColumn<QString>("genus");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("references");
        QTest::newRow("tabs between the parts")
            << "Acrorhabdammina\tP (Asse) - P (Ufim)\t(206, 553, 1020)"
            << "Acrorhabdammina"
            << "P (Asse) - P (Ufim)"
            << "206, 553, 1020";
        QTest::newRow("author and year") << "Spiraster Ashby, 1975  O (Llde) - C (Tour)  (116; 947)"
                                         << "Spiraster"
                                         << "O (Llde) - C (Tour)"
                                         << "116; 947";
        QTest::newRow("authors in brackets, letters outside the old code page")
            << "\u2020Aus (M\u00fcller & \u010cech, 1890) J (Oxfo)-K (Camp) (3 4)"
            << "Aus"
            << "J (Oxfo)-K (Camp)"
            << "3 4";
        QTest::newRow("the second list of numbers is no reference")
            << "?Bus Smith et al., 2001 K (Camp) (12) (45)"
            << "Bus"
            << "K (Camp)"
            << "12";
        QTest::newRow("a family note before the range")
            << "Cus Dawes, 1911 (\u0441\u0435\u043c. Cusidae) Rec (7)"
            << "Cus"
            << "Rec"
            << "7";
        QTest::newRow("a year in brackets is no reference") << "Dus K (Camp) (1975)"
                                                            << "Dus"
                                                            << "K (Camp) (1975)"
                                                            << "";
        QTest::newRow("no range, no references") << "Eus"
                                                 << "Eus"
                                                 << ""
                                                 << "";
        QTest::newRow("a Russian heading")
            << "\u0421\u0435\u043c\u0435\u0439\u0441\u0442\u0432\u043e Acrorhabdamminidae (12)"
            << ""
            << ""
            << "";
        QTest::newRow("a Latin heading") << "Family Spirasteridae"
                                         << ""
                                         << ""
                                         << "";
        QTest::newRow("a family's name alone") << "Spirasteridae (4)"
                                               << ""
                                               << ""
                                               << "";
        QTest::newRow("a name in capitals, a word in prose") << "ABCDIA K (Camp) (4)"
                                                             << ""
                                                             << ""
                                                             << "";
        QTest::newRow("a word with a stop after it") << "Note. See (4)"
                                                     << ""
                                                     << ""
                                                     << "";
    }
    void parts()
    {
        QFETCH(QString, line);
        QFETCH(QString, genus);
        QFETCH(QString, range);
        QFETCH(QString, references);
        const GenusLine parts = readGenusLine(line);
        QCOMPARE(parts.genus.in(line).toString(), genus);
        QCOMPARE(parts.range.in(line).toString(), range);
        QCOMPARE(parts.references.in(line).toString(), references);
        QCOMPARE(genusName(line), parts.genus);
    }
};

QTEST_APPLESS_MAIN(TestGenusLine)
#include "tst_genusline.moc"
