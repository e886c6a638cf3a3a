// The text-only reading gives exactly the text of the document that the full
// reading builds, on whole files and around pictures, and rtf2txt prints it.
#include "RtfLimits.h"
#include "RtfReader.h"
#include "RtfText.h"
#include "support/RtfPicture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace fosdat;

namespace
{

// The text of the document the full reading builds.
QString documentText(const QByteArray &rtf)
{
    const rtf::ReadResult result = rtf::read(rtf);
    if (!result.ok())
        qFatal("not read as RTF: %s", rtf.left(80).constData());
    return textWithoutPictures(*result.document);
}

} // namespace

class TestRtfReadText : public QObject
{
    Q_OBJECT

private slots:
    void sameTextAsTheDocument_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        const QDir corpus(QStringLiteral(FOSDAT_FUZZ_CORPUS));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << file.readAll();
        }
        const QByteArray picture = rtfPicture();
        QTest::newRow("picture alone in a paragraph") << "{\\rtf1 A\\par " + picture + "\\par B}";
        QTest::newRow("picture ending the text") << "{\\rtf1 A\\par " + picture + "}";
        QTest::newRow("picture between words") << "{\\rtf1 A" + picture + "B\\par C}";
        QTest::newRow("picture that is not PNG alone in a paragraph")
            << QByteArray("{\\rtf1 A\\par {\\pict\\wmetafile8 0102}\\par B}");
        QTest::newRow("hidden picture") << "{\\rtf1 A\\par {\\v " + picture + "}\\par B}";
        QTest::newRow("formats and fonts with code pages")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset238 B;}}"
                          "\\f0\\b \\'c0\\b0\\f1 \\'c0{\\i\\cf1 x}\\par\\pard\\qc y}");
    }
    void sameTextAsTheDocument()
    {
        QFETCH(QByteArray, rtf);
        QCOMPARE(rtf::readText(rtf), std::optional(documentText(rtf)));
    }

    // The converter on a file: lines within a paragraph are lines of their own,
    // footnotes follow the text, and all of the text is printed, however much
    // more than a view can show; a text it cannot write whole fails, and says so.
    void rtf2txt_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("printed"); // empty: onto a full disk
        QTest::newRow("line break") << QByteArray("{\\rtf1\\ansicpg1251 \\'c0\\line B\\par C}")
                                    << QByteArray("\xd0\x90\nB\nC\n");
        QTest::newRow("footnote") << QByteArray("{\\rtf1 A{\\super\\chftn}{\\footnote "
                                                "{\\super\\chftn} Note\\line two.} B.}")
                                  << QByteArray("A1 B.\n\n1 Note\ntwo.\n");
        const int paragraphs = rtf::limits::MaxParagraphs + 2;
        QTest::newRow("more paragraphs than a view shows")
            << "{\\rtf1 " + QByteArray("x\\par ").repeated(paragraphs) + "y}"
            << QByteArray("x\n").repeated(paragraphs) + "y\n";
        QTest::newRow("onto a full disk") << QByteArray("{\\rtf1 x}") << QByteArray();
    }
    void rtf2txt()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, printed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("in.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(rtf), rtf.size());
        file.close();
        QProcess process;
        if (printed.isEmpty())
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(FOSDAT_RTF2TXT), {file.fileName()});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), printed.isEmpty() ? 1 : 0);
        const QByteArray errors = process.readAllStandardError();
        QCOMPARE(errors.isEmpty(), !printed.isEmpty());
        QCOMPARE(errors.contains("could not be written whole"), printed.isEmpty());
        QCOMPARE(process.readAllStandardOutput(), printed);
    }

    void notRtf()
    {
        QCOMPARE(rtf::readText("plain text"), std::nullopt);
        QCOMPARE(rtf::readText(""), std::nullopt);
    }
};

QTEST_MAIN(TestRtfReadText)
#include "tst_rtfreadtext.moc"
