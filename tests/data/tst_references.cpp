// Reference numbers in catalogue paragraphs, the numbered entries of the
// reference lists, and looking numbers up in the lists on disk.
#include "ReferenceLookup.h"
#include "ReferenceParser.h"
#include "support/DataTree.h"

#include <QTest>

using namespace fosdat::data;

class TestReferences : public QObject
{
    Q_OBJECT

private slots:
    void recognisesReferenceNumbers_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<QList<int>>("numbers");
        const QList<int> none;
        QTest::newRow("genus entry") << "Acrorhabdammina\tP (Asse) - P (Ufim)\t(206, 553, 1020)"
                                     << QList<int>{206, 553, 1020};
        QTest::newRow("one number") << "Telespira C (Bash) (12)" << QList<int>{12};
        QTest::newRow("bounds") << "(1, 1200)" << QList<int>{1, 1200};
        QTest::newRow("no blanks") << "(206,553)" << QList<int>{206, 553};
        QTest::newRow("semicolons, blanks") << "( 7 ;  8; 9 )" << QList<int>{7, 8, 9};
        QTest::newRow("blanks alone") << "(206 553)" << QList<int>{206, 553};
        QTest::newRow("no-break space") << u"(12,\u00a013)"_qs << QList<int>{12, 13};
        QTest::newRow("two groups") << "X (1) remark (2, 3)" << QList<int>{1, 2, 3};
        QTest::newRow("inner group") << "((45))" << QList<int>{45};
        QTest::newRow("year") << "Genus (1975)" << none;
        QTest::newRow("group with a year") << "(12, 1975)" << none;
        QTest::newRow("above the lists") << "(1201)" << none;
        QTest::newRow("zero") << "(0)" << none;
        QTest::newRow("leading zero") << "(012)" << none;
        QTest::newRow("five digits") << "(00012)" << none;
        QTest::newRow("stage") << "K (Camp) - K (Maas)" << none;
        QTest::newRow("author and year") << "(Smith, 1975)" << none;
        QTest::newRow("page range") << "(12-15)" << none;
        QTest::newRow("decimal") << "(1.5)" << none;
        QTest::newRow("letter after the number") << "(12a)" << none;
        QTest::newRow("stage with a number") << "(Ash2)" << none;
        QTest::newRow("empty entry") << "(12, , 13)" << none;
        QTest::newRow("trailing comma") << "(12,)" << none;
        QTest::newRow("leading comma") << "(,12)" << none;
        QTest::newRow("unclosed") << "(12, 13" << none;
        QTest::newRow("no parentheses") << "Genus 1975 12, 13" << none;
        QTest::newRow("empty") << "()" << none;
        QTest::newRow("other digits") << u"(\u0661\u0662)"_qs << none;
    }
    void recognisesReferenceNumbers()
    {
        QFETCH(QString, paragraph);
        QFETCH(QList<int>, numbers);
        const QList<ReferenceMention> mentions = findReferenceNumbers(paragraph);
        QList<int> found;
        for (const ReferenceMention &mention : mentions) {
            found.append(mention.number);
            QCOMPARE(paragraph.mid(mention.position, mention.length),
                     QString::number(mention.number));
        }
        QCOMPARE(found, numbers);
    }

    void numberAtACharacter_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("number");
        const QString text = QStringLiteral("Ab K (Camp) (206, 7)"); // '(' of the list at 12
        QTest::newRow("first digit") << int(text.indexOf(u"206")) << 206;
        QTest::newRow("last digit") << int(text.indexOf(u"206")) + 2 << 206;
        QTest::newRow("one-digit number") << int(text.indexOf(u'7')) << 7;
        QTest::newRow("parenthesis") << int(text.indexOf(u"(206")) << 0;
        QTest::newRow("comma") << int(text.indexOf(u',')) << 0;
        QTest::newRow("blank after the comma") << int(text.indexOf(u',')) + 1 << 0;
        QTest::newRow("stage") << int(text.indexOf(u"Camp")) << 0;
        QTest::newRow("past the end") << int(text.size()) << 0;
        QTest::newRow("before the start") << -1 << 0;
    }
    void numberAtACharacter()
    {
        QFETCH(int, index);
        QFETCH(int, number);
        const auto mention = referenceNumberAt(u"Ab K (Camp) (206, 7)", index);
        QCOMPARE(mention ? mention->number : 0, number);
    }

    void splitsAReferenceList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("CR LF lines") << "1. Smith J. 1975. Title.\r\n2. Jones A.\r\n"
                                     << QStringList{"1. Smith J. 1975. Title.", "2. Jones A."};
        QTest::newRow("LF, no end") << "401. A\n402. B" << QStringList{"401. A", "402. B"};
        QTest::newRow("blanks before the number, blank lines between")
            << "  1. A  \r\n\r\n\t2.\tB\r\n\r\n"
            << QStringList{"1. A", "2.\tB"};
        QTest::newRow("entry over several lines")
            << "7. Smith J.\r\n   Title // Journal.\r\n8. B"
            << QStringList{"7. Smith J.\r\n   Title // Journal.", "8. B"};
        QTest::newRow("line starting with a year")
            << "12. Smith J.\r\n1975. Title.\r\n13. B"
            << QStringList{"12. Smith J.\r\n1975. Title.", "13. B"};
        QTest::newRow("line starting with a smaller number")
            << "350. Meyer K. Lehrbuch.\r\n3. Aufl.\r\n351. B"
            << QStringList{"350. Meyer K. Lehrbuch.\r\n3. Aufl.", "351. B"};
        QTest::newRow("number with decimals")
            << "5. A\r\n12.5 mm long\r\n6. B" << QStringList{"5. A\r\n12.5 mm long", "6. B"};
        QTest::newRow("heading before the first entry") << "Список литературы\r\n801. A\r\n"
                                                        << QStringList{"801. A"};
        QTest::newRow("number alone") << "1200.\r\n" << QStringList{"1200."};
        QTest::newRow("gap in the numbering") << "1. A\r\n5. B" << QStringList{"1. A", "5. B"};
        QTest::newRow("number in the middle of a line")
            << "1. A, see 2. B" << QStringList{"1. A, see 2. B"};
        QTest::newRow("no numbered line") << "Smith J. 1975.\r\n" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitsAReferenceList()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, entries);
        QStringList found;
        for (const ReferenceEntry &entry : splitReferenceList(list)) {
            const QString text = list.mid(entry.position, entry.length);
            QCOMPARE(text.section(u'.', 0, 0).toInt(), entry.number);
            found.append(text);
        }
        QCOMPARE(found, entries);
    }

    // The lists on disk, in Windows-1251 as the data set writes them.
    void looksNumbersUpInTheLists()
    {
        DataTree data;
        QVERIFY(data.write("dat/BD/REFS1.txt", "1. \xc0\xe1\xe2\r\n 2. B\r\n  more\r\n"));
        QVERIFY(data.write("dat/BD/REFS2.txt", "401. C\r\n"));
        QVERIFY(data.write("dat/BD/REFS3.txt", "801. D\r\n1200. E\r\n"));
        ReferenceLookup lists;
        const auto expect = [&](int number, int list, const QString &text) {
            const std::optional<Reference> found = lists.find(number);
            QVERIFY2(found, qPrintable(QString::number(number)));
            QCOMPARE(found->list, list);
            QCOMPARE(found->number, number);
            QCOMPARE(found->text, text);
        };
        expect(1, 0, QStringLiteral("1. Абв"));
        expect(2, 0, QStringLiteral("2. B\r\n  more"));
        expect(401, 1, QStringLiteral("401. C"));
        expect(1200, 2, QStringLiteral("1200. E"));
        QVERIFY(!lists.find(3));
        QVERIFY(!lists.find(1201));

        // A list is read again once its file changes, and the list that
        // holds a number is the one whose entries hold it.
        QVERIFY(data.write("dat/BD/REFS1.txt", "1. New\r\n3. Three\r\n450. Misplaced\r\n"));
        expect(1, 0, QStringLiteral("1. New"));
        expect(3, 0, QStringLiteral("3. Three"));
        expect(450, 0, QStringLiteral("450. Misplaced"));
        QVERIFY(data.remove("dat/BD/REFS1.txt"));
        QVERIFY(!lists.find(1));
        expect(401, 1, QStringLiteral("401. C"));
    }

    void findsListsWhateverTheirCase()
    {
        DataTree data;
        QVERIFY(data.write("Dat/bd/refs2.TXT", "401. C\r\n"));
        QCOMPARE(ReferenceLookup().find(401)->text, QStringLiteral("401. C"));
    }
};

QTEST_GUILESS_MAIN(TestReferences)
#include "tst_references.moc"
