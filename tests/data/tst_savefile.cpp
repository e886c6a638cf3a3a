// Saving replaces a file whole or not at all.
#include "SaveFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace fosdat::data;

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void saveReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("файл.rtf"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(50'000, 'x'));
        old.close();
        const SaveResult result = saveFile(path, "{\\rtf1 new}");
        QVERIFY(result.ok);
        QVERIFY(result.errorString.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("{\\rtf1 new}"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"файл.rtf"});
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("smaller than a write buffer") << qsizetype(1000);
        QTest::newRow("larger than a write buffer") << qsizetype(1'000'000);
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(qsizetype, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.rtf"));
        const QByteArray before = "the old file";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
        old.close();
        SaveResult result;
        {
            const FileSizeLimit limit(size / 2);
            result = saveFile(path, QByteArray(size, 'n'));
        }
        QVERIFY(!result.ok);
        QVERIFY(!result.errorString.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.rtf"});
    }

    void saveRefusesSpecialFiles()
    {
        const SaveResult result = saveFile(QStringLiteral("/dev/null"), "{\\rtf1}");
        QVERIFY(!result.ok);
        QVERIFY(!result.errorString.isEmpty());
        QVERIFY(!QFileInfo(QStringLiteral("/dev/null")).isFile());
    }
};

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
