#include "RtfReader.h"
#include "RtfRecordDocument.h"
#include "RtfText.h"
#include "support/RtfPicture.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace fosdat;

namespace
{

// Each block's text and the formats of its fragments, as far as the view
// shows them: enough to tell any two readings of different formatting apart.
QStringList blocksOf(const QTextDocument &document, int first, int end)
{
    QStringList blocks;
    for (QTextBlock block = document.findBlockByNumber(first);
         block.isValid() && block.blockNumber() < end; block = block.next()) {
        QString shown = QString::number(block.blockFormat().leftMargin()) + u'|';
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat chars = fragment.fragment().charFormat();
            shown += QStringLiteral("[%1%2%3%4]")
                         .arg(chars.fontWeight())
                         .arg(chars.fontItalic() ? u'i' : u'-')
                         .arg(chars.fontPointSize())
                         .arg(chars.isImageFormat() ? u'P' : u'-') +
                     fragment.fragment().text();
        }
        blocks.append(shown);
    }
    return blocks;
}

} // namespace

// A record made into documents, whole or in parts, gives the paragraphs,
// formats and pictures that a document reading of the same bytes gives, and
// the text of the text-only reading; positions go both ways between them.
class RecordTest : public QObject
{
    Q_OBJECT

private slots:
    void partsEqualTheDocumentReading_data();
    void partsEqualTheDocumentReading();
    void partsKeepTheirBounds();
    void beginningsAreTheWholesStart_data();
    void beginningsAreTheWholesStart();
};

void RecordTest::partsEqualTheDocumentReading_data()
{
    QTest::addColumn<QByteArray>("rtf");
    const QByteArray head = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    QByteArray entries;
    for (int i = 0; i < 400; ++i)
        entries += "\\li" + QByteArray::number(i % 3 * 100) + " {\\b Genus" +
                   QByteArray::number(i) + "} {\\i Author}, 1900: K (Camp) (" +
                   QByteArray::number(i) + ").\\par\n";
    QTest::newRow("entries") << head + entries + "}";
    QTest::newRow("pictures") << head + "a" + rtfPicture() + "b\\par " + rtfPicture() +
                                     "\\par c{\\pict\\pngblip\\picw2\\pich2 00}d\\par" +
                                     rtfPicture() + "}";
    // Broken after its last space, the word broken too: both readings alike.
    QTest::newRow("long paragraph")
        << head + QByteArray(12000, 'x') + " {\\b " + QByteArray(15000, 'y') + "} z}";
    QTest::newRow("empty") << QByteArray("{\\rtf1 }");
    QTest::newRow("blank lines") << head + QByteArray("\\par\\par\\par a\\par\\par}");
}

// Large enough that the reading stops before the end: entries with
// footnotes, which go after the text, and pictures among long paragraphs.
void RecordTest::beginningsAreTheWholesStart_data()
{
    partsEqualTheDocumentReading_data();
    const QByteArray head = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    QByteArray entries;
    for (int i = 0; i < 4000; ++i)
        entries +=
            "\\li" + QByteArray::number(i % 3 * 100) + " {\\b Genus" + QByteArray::number(i) +
            "} {\\i Author}, 1900: K (Camp) (" + QByteArray::number(i % 1200 + 1) + ")" +
            (i % 100 == 0
                 ? "{\\super\\chftn}{\\footnote\\pard\\plain Note " + QByteArray::number(i) + ".}"
                 : "") +
            ".\\par\n";
    QTest::newRow("footnoted entries") << head + entries + "}";
    QByteArray mixed;
    for (int i = 0; i < 60; ++i)
        mixed += QByteArray(3000 + i * 50, char('a' + i % 26)) + rtfPicture() + " {\\b x}\\par ";
    QTest::newRow("pictures and long paragraphs") << head + mixed + "}";
}

// A beginning holds the whole's first paragraphs, each as the whole holds
// it, within the characters asked for; or, read to its end, the whole.
void RecordTest::beginningsAreTheWholesStart()
{
    QFETCH(QByteArray, rtf);
    const rtf::ContentRecord whole = *rtf::readRecord(rtf);
    const rtf::ReadResult read = rtf::read(rtf);
    for (const qsizetype characters :
         {qsizetype(0), qsizetype(2000), qsizetype(30000), qsizetype(100000000)}) {
        const std::optional<rtf::RecordStart> start = rtf::readRecordStart(rtf, characters);
        QVERIFY(start);
        const rtf::ContentRecord &begun = start->record;
        const int count = int(begun.paragraphs.size());
        if (start->whole) {
            QCOMPARE(begun.text, whole.text);
            QCOMPARE(count, int(whole.paragraphs.size()));
            QCOMPARE(begun.pictures.size(), whole.pictures.size());
        } else {
            QVERIFY(count < whole.paragraphs.size());
            QVERIFY(begun.text.size() <= characters || count == 1);
            QCOMPARE(begun.text, whole.text.first(whole.paragraphEnd(count - 1)));
            QCOMPARE(begun.height, whole.topOf(count));
        }
        for (int i = 0; i < count; ++i) {
            const rtf::ContentRecord::Paragraph &mine = begun.paragraphs.at(i);
            const rtf::ContentRecord::Paragraph &theirs = whole.paragraphs.at(i);
            QCOMPARE(mine.start, theirs.start);
            QCOMPARE(mine.top, theirs.top);
        }
        QCOMPARE(blocksOf(*rtf::buildWhole(begun), 0, count), blocksOf(*read.document, 0, count));
    }
}

void RecordTest::partsEqualTheDocumentReading()
{
    QFETCH(QByteArray, rtf);
    const std::optional<rtf::ContentRecord> record = rtf::readRecord(rtf);
    QVERIFY(record);
    QCOMPARE(record->text, *rtf::readText(rtf));
    const rtf::ReadResult read = rtf::read(rtf);
    QVERIFY(!read.cut);
    const int count = int(record->paragraphs.size());
    QCOMPARE(count, read.document->blockCount());
    QCOMPARE(blocksOf(*rtf::buildWhole(*record), 0, count), blocksOf(*read.document, 0, count));

    const QString whole = read.document->toRawText();
    for (const rtf::ContentRecord::Part part : {rtf::ContentRecord::Part{0, count},
                                                {count / 2, count},
                                                {0, (count + 1) / 2},
                                                {count / 3, count - count / 3}}) {
        if (part.first >= part.end)
            continue;
        const rtf::PartDocument built = rtf::buildPart(*record, part);
        QCOMPARE(blocksOf(*built.document, 0, count),
                 blocksOf(*read.document, part.first, part.end));
        // Every character of the part, and every picture, maps both ways.
        const int offset = read.document->findBlockByNumber(part.first).position();
        const QString text = built.document->toRawText();
        for (int at = 0; at < text.size(); ++at) {
            QCOMPARE(text.at(at), whole.at(offset + at));
            const qsizetype position = built.textPosition(at);
            if (text.at(at) != QChar::ObjectReplacementCharacter &&
                text.at(at) != QChar::ParagraphSeparator) {
                QCOMPARE(record->text.at(position), text.at(at));
                QCOMPARE(built.documentPosition(position), at);
            }
        }
    }
}

// A part holds its paragraph and stays within both bounds, reaching a third
// of them back where there is room.
void RecordTest::partsKeepTheirBounds()
{
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 1000; ++i)
        rtf += QByteArray(i % 7 * 30 + 10, 'a') + (i % 50 == 0 ? "{\\fs200 B}" : "") + "\\par ";
    const rtf::ContentRecord record = *rtf::readRecord(rtf + "}");
    const int count = int(record.paragraphs.size());
    QCOMPARE(count, 1000);
    for (const qsizetype characters : {0, 500, 5000, 10000000}) {
        for (const qreal height : {0.0, 300.0, 3000.0, 1e9}) {
            for (int paragraph = 0; paragraph < count; paragraph += 37) {
                const rtf::ContentRecord::Part part =
                    record.partAround(paragraph, characters, height);
                QVERIFY(part.first <= paragraph && paragraph < part.end);
                QVERIFY(part.first >= 0 && part.end <= count);
                const qsizetype start = record.paragraphs.at(part.first).start;
                const qsizetype chars = record.paragraphEnd(part.end - 1) + 1 - start;
                const qreal top = record.paragraphs.at(part.first).top;
                const qreal bottom =
                    part.end < count ? record.paragraphs.at(part.end).top : record.height;
                if (part.end - part.first > 1) {
                    QVERIFY2(
                        chars <= characters && bottom - top <= height,
                        qPrintable(
                            QStringLiteral("%1 %2 %3").arg(paragraph).arg(characters).arg(height)));
                }
                // Room for one more paragraph either way was used.
                if (characters == 10000000 && height == 1e9)
                    QCOMPARE(part, (rtf::ContentRecord::Part{0, count}));
            }
        }
    }
}

QTEST_GUILESS_MAIN(RecordTest)
#include "tst_rtfrecord.moc"
