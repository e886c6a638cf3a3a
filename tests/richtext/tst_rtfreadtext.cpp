// The text-only reading gives exactly the text of the document that the full
// reading builds, on whole files and around pictures, and rtf2txt prints it.
#include "RtfLimits.h"
#include "RtfReader.h"
#include "RtfRecordDocument.h"
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
    const std::optional<rtf::ContentRecord> record = rtf::readRecord(rtf);
    if (!record)
        qFatal("not read as RTF: %s", rtf.left(80).constData());
    return textWithoutPictures(*rtf::buildWhole(*record));
}

// Input that drives the caps and the odd corners of the reading: both
// readings must still break paragraphs and words at the same places.
void addHostileRows(const QByteArray &picture)
{
    using namespace rtf::limits;
    const QByteArray colors = "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue200;}";
    const QByteArray longWord(MaxWordLetters * 3 + 5, 'w');
    // A PNG whose header promises a picture its data does not hold.
    const QByteArray brokenPicture =
        "{\\pict\\pngblip " + png(2, 2, Qt::red).left(40).toHex() + "}";
    const struct {
        const char *name;
        QByteArray body;
    } rows[] = {
        {"format changes past a paragraph's cap",
         QByteArray("{\\b x}y ").repeated(MaxParagraphFormatChanges * 3 / 2)},
        {"format changes past the cap within one word",
         QByteArray("{\\i x}y").repeated(MaxParagraphFormatChanges + 10)},
        {"one format reached in other orders",
         QByteArray("{\\b\\i x}{\\i\\b y}{\\ul\\ulnone\\scaps\\caps\\scaps0 z} ")
             .repeated(MaxParagraphFormatChanges)},
        {"colour changes past the document's cap",
         colors + (QByteArray("{\\cf1 x}{\\cb2 y}\\cf0 z ").repeated(400) + "\\par ")
                      .repeated(MaxDocumentFormatChanges / 1000 + 2)},
        {"sizes and tab stops changing every paragraph",
         QByteArray("\\pard\\tqr\\tx2000\\tqdec\\tx3000\\li200\\sb100 "
                    "{\\fs8 a}\\tab{\\fs60 b}\\tab c\\par\\pard\\qj\\fi-200 d\\par ")
             .repeated(300)},
        {"long words", longWord + " " + longWord + "{\\b " + longWord + "}" + longWord},
        {"long word across format changes", QByteArray("{\\b wwww}wwww").repeated(200)},
        {"broken picture inside a long word", longWord + brokenPicture + longWord},
        {"picture inside a long word", longWord + picture + longWord},
        {"table rows with more cells than tabs",
         QByteArray("\\trowd\\cellx1000\\cellx2000 ") +
             (QByteArray("a\\cell ").repeated(MaxParagraphTabs * 2) + "\\row ").repeated(3) +
             "b\\cell\\cell c\\row"},
        {"footnotes with formats, pictures and long words",
         colors + "A{\\super\\chftn}{\\footnote{\\super\\chftn} \\b n{\\cf1 o}\\plain te " +
             longWord + picture + brokenPicture + "}B{\\footnote\\fs40 big\\plain small}"},
        {"footnote past a paragraph's cap of changes",
         "A{\\footnote " + QByteArray("{\\b x}y ").repeated(MaxParagraphFormatChanges) + "}B"},
        {"footnotes nested and hidden", "A{\\footnote x{\\footnote y}z}{\\v{\\footnote h}}B"},
        {"Unicode fallbacks",
         "\\uc2\\u1072\\'e0\\'e0 b{\\uc0\\u1073 c}\\u-4064 xy d\\uc1\\u-10179?\\u-8704?"
         "\\uc3\\u1074 x{\\b y}z\\uc1\\u1075\\bin1 !e\\u55357 f"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << "{\\rtf1 " + row.body + "}";
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
        addHostileRows(picture);
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
        // Each "xy " is two changes of format: a paragraph ends at the space
        // after as many as it keeps, and the next goes on.
        const int perParagraph = rtf::limits::MaxParagraphFormatChanges / 2;
        QTest::newRow("more format changes than a paragraph keeps")
            << "{\\rtf1 " + QByteArray("{\\b x}y ").repeated(perParagraph * 3) + "}"
            << (QByteArray("xy ").repeated(perParagraph) + '\n').repeated(3);
        // A zero-width space after as many letters as a line may hold.
        const QByteArray letters(rtf::limits::MaxWordLetters, 'w');
        QTest::newRow("a word longer than a line may be")
            << "{\\rtf1 " + letters.repeated(2) + "abc}"
            << letters + "\xe2\x80\x8b" + letters + "\xe2\x80\x8b" + "abc\n";
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
