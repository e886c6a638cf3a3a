// Whatever shape a file takes, the document the reader makes of it is laid
// out in the catalogue view's width below Qt's layout limit: past 2^23 px of
// height a QTextDocument's layout never finishes. The reader only estimates
// heights, without fonts; this lays the documents out for real.
#include "RtfReader.h"
#include "support/RtfPicture.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextDocument>

using namespace fosdat;

namespace
{

// Qt's layout limit: INT_MAX / 256 px.
constexpr qreal LayoutLimit = 1 << 23;
// The width of the catalogue view's text.
constexpr qreal ViewTextWidth = 330;

QByteArray document(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}";
}

} // namespace

class TestRtfLayoutCaps : public QObject
{
    Q_OBJECT

private slots:
    void heightStaysBelowQtsLimit_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("cut");
        const QByteArray words = QByteArray("abcde fghij ").repeated(800);
        QTest::newRow("largest spacing around paragraphs")
            << document(QByteArray("\\sb31680\\sa31680 x\\par ").repeated(5000)) << true;
        QTest::newRow("largest font")
            << document("\\fs3276 " + QByteArray("W ").repeated(8000)) << true;
        QTest::newRow("line breaks in a large font")
            << document("\\fs200 " + QByteArray("x\\line ").repeated(150000)) << true;
        QTest::newRow("tabs in a large font")
            << document("\\fs100 " + QByteArray("\\tab x").repeated(500000)) << true;
        QTest::newRow("indents leaving no width")
            << document("\\fs100\\li15000\\ri15000 " + words.repeated(70)) << true;
        QTest::newRow("indents given at each paragraph's end")
            << document("\\fs100 " + (words + "\\li15000\\ri15000\\par\\pard ").repeated(70))
            << true;
        QTest::newRow("first-line indents")
            << document(("\\fs100\\fi31680 " + QByteArray("W W ").repeated(50) + "\\par ")
                            .repeated(4500))
            << true;
        QTest::newRow("empty paragraphs in a large font")
            << document("\\fs400 " + QByteArray("x\\par\\par ").repeated(20000)) << true;
        QTest::newRow("pictures shown ten times 22 inches tall")
            << document(("{\\pict\\pngblip\\picscaley1000\\pichgoal31680 " +
                         png(1, 1, Qt::gray).toHex() + "}")
                            .repeated(500))
            << true;
        QTest::newRow("catalogue-sized text")
            << document(("\\b Genus\\b0  " + words.left(200) + "\\par ").repeated(4000)) << false;
    }
    void heightStaysBelowQtsLimit()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, cut);
        const rtf::ReadResult result = rtf::read(rtf);
        QVERIFY(result.ok());
        QCOMPARE(result.cut, cut);
        QTextDocument &document = *result.document;
        QCOMPARE(document.lastBlock().text() == rtf::CutNotice, cut);
        QCOMPARE(rtf::readText(rtf), std::optional(textWithoutPictures(document)));
        document.setTextWidth(ViewTextWidth);
        const qreal height = document.documentLayout()->documentSize().height();
        QVERIFY2(height < LayoutLimit, qPrintable(QString::number(height)));
    }
};

QTEST_MAIN(TestRtfLayoutCaps)
#include "tst_rtflayoutcaps.moc"
