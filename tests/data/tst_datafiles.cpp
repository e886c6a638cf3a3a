#include "DataFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace fosdat::data;

class TestDataFiles : public QObject
{
    Q_OBJECT

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void nativePath_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QString>("dataPath");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << QStringList{"dat/BD/FORAM"} << "dat\\BD\\FORAM"
                               << "dat/BD/FORAM";
        QTest::newRow("lower-case tree") << QStringList{"dat/bd/foram"} << "dat\\BD\\FORAM"
                                         << "dat/bd/foram";
        QTest::newRow("mixed case") << QStringList{"Dat/Bd/Refs1.TXT"} << "dat\\BD\\REFS1.txt"
                                    << "Dat/Bd/Refs1.TXT";
        QTest::newRow("exact wins over case-insensitive")
            << QStringList{"dat/BD/FORAM", "dat/BD/foram"} << "dat\\BD\\FORAM"
            << "dat/BD/FORAM";
        QTest::newRow("missing keeps spelling") << QStringList{"dat/BD/RAD"} << "dat\\BD\\FORAM"
                                                << "dat/BD/FORAM";
        QTest::newRow("Cyrillic case folding") << QStringList{"dat/данные"} << "dat\\ДАННЫЕ"
                                               << "dat/данные";
    }
    void nativePath()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QString, dataPath);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &file : onDisk)
            writeFile(dir.filePath(file), "x");
        QCOMPARE(fosdat::data::nativePath(dataPath, QDir(dir.path())), dir.filePath(expected));
    }

    void emptyPathNamesNothing() { QVERIFY(fosdat::data::nativePath(u"").isEmpty()); }

    void readsOnlyRegularFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("file");
        writeFile(file, QByteArray("ab\0c\r\n", 6));
        QCOMPARE(readRegularFile(file).value(), QByteArray("ab\0c\r\n", 6));

        QVERIFY(!readRegularFile(dir.path()));              // a directory
        QVERIFY(!readRegularFile(dir.filePath("missing"))); // nothing there
        QVERIFY(!readRegularFile(QString()));
        QVERIFY(!readRegularFile("/dev/zero")); // a device would never end

        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readRegularFile(fifo)); // returns at once, no writer needed

        QVERIFY(QFile::link(dir.filePath("loop"), dir.filePath("loop")));
        QVERIFY(!readRegularFile(dir.filePath("loop")));

        QVERIFY(!readRegularFile(file, 3));                   // over the size limit
        QCOMPARE(readRegularFile(file, 6).value().size(), 6); // at the limit

        // A file that says it is empty but goes on (as it could grow while
        // read) is refused past the limit, not cut short at it.
        const QString status = QStringLiteral("/proc/self/status");
        QVERIFY(readRegularFile(status).value().size() > 100);
        QVERIFY(!readRegularFile(status, 100));
    }

    // Only the start of a file, under the same guard as the whole of it.
    void readsTheStartOfRegularFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("file");
        writeFile(file, "abcdef");
        QCOMPARE(readRegularFileStart(file, 4).value(), QByteArray("abcd"));
        QCOMPARE(readRegularFileStart(file, 100).value(), QByteArray("abcdef"));
        QVERIFY(
            !readRegularFileStart(file, 4, 5)); // over the size limit, though only 4 are asked for
        QVERIFY(!readRegularFileStart(dir.path(), 4));
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readRegularFileStart(fifo, 4));
    }

    void decodesWindows1251ByteForByte()
    {
        const QByteArray bytes("\xc0\xe1\xe2 \xa8\xb8\r\n\x31", 9);
        QCOMPARE(decodeAnsi(bytes), QString::fromUtf8("Абв Ёё\r\n1"));
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
