// A reference list as the reference panel is given it: whole when it keeps
// within the budget, otherwise its whole lines within the budget, marked as
// cut.
#include "ReferenceListReader.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fosdat::data;

namespace
{

// A budget small enough to pass with a few lines: 3 lines, 10 characters, 6 to a line.
constexpr TextBudget Small{3, 10, 6};

// The text kept, and whether the list was cut, as one string to compare.
QString shownAs(const QString &text, bool cut)
{
    return cut ? text + QStringLiteral("[cut]") : text;
}
QString cutAfter(const QString &kept)
{
    return shownAs(kept, true);
}

} // namespace

class TestReferenceListReader : public QObject
{
    Q_OBJECT

private slots:
    void shownWithinTheBudget_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::newRow("within, line ends kept")
            << QByteArray("ab\r\ncd\r\nef") << QStringLiteral("ab\r\ncd\r\nef");
        QTest::newRow("exactly the budget")
            << QByteArray("abcdef\r\nabcd\r\n") << QStringLiteral("abcdef\r\nabcd\r\n");
        QTest::newRow("Windows-1251") << QByteArray("\xc0\xe1\xe2") << QStringLiteral("Абв");
        QTest::newRow("too many lines")
            << QByteArray("a\r\nb\r\nc\r\nd\r\n") << cutAfter("a\r\nb\r\nc");
        QTest::newRow("too many lines, bare line ends")
            << QByteArray("a\nb\rc\r\n\r\nd") << cutAfter("a\nb\rc");
        QTest::newRow("too many characters") << QByteArray("abcde\r\nfghijk") << cutAfter("abcde");
        QTest::newRow("a later line too long") << QByteArray("ab\r\nabcdefg\r\n") << cutAfter("ab");
        QTest::newRow("the first line too long")
            << QByteArray(64 * 1024, 'x') << cutAfter(QString(6, u'x'));
        QTest::newRow("blank lines only")
            << QByteArray("\r\n\r\n\r\n\r\n\r\n") << cutAfter("\r\n\r\n");
    }
    void shownWithinTheBudget()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        QFile out(dir.filePath("REFS1.txt"));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();
        const std::optional<ReferenceListText> list = readReferenceList(out.fileName(), Small);
        QVERIFY(list);
        QCOMPARE(shownAs(list->text, list->cut), shown);
    }

    void unreadableGivesNothing()
    {
        QTemporaryDir dir;
        QVERIFY(!readReferenceList(dir.filePath("missing.txt")));
        QVERIFY(!readReferenceList(dir.path()));
    }
};

QTEST_GUILESS_MAIN(TestReferenceListReader)
#include "tst_referencelistreader.moc"
