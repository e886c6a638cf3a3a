// Whatever shape a file takes, the document the reader makes of it is laid
// out in the catalogue view's width below the height the view can lay out:
// past 2^23 px of height a QTextDocument's layout never finishes. The reader
// only estimates heights, without fonts; this lays the documents out for real.
#include "RtfLimits.h"
#include "RtfReader.h"
#include "RtfText.h"
#include "support/RtfPicture.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace fosdat;

namespace
{

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
        QTest::addColumn<qreal>("layoutHeight");
        QTest::addColumn<bool>("cut");
        const qreal all = rtf::limits::QtLayoutHeight;
        // What a view that shows documents three times their size can take.
        const qreal third = all / 3;
        const QByteArray words = QByteArray("abcde fghij ").repeated(800);
        // Pictures of one pixel, each shown ten times 22 inches tall.
        const auto tallPictures = [](int count) {
            return document(("{\\pict\\pngblip\\picscaley1000\\pichgoal31680 " +
                             png(1, 1, Qt::gray).toHex() + "}")
                                .repeated(count));
        };
        QTest::newRow("largest spacing around paragraphs")
            << document(QByteArray("\\sb31680\\sa31680 x\\par ").repeated(5000)) << all << true;
        QTest::newRow("largest font")
            << document("\\fs3276 " + QByteArray("W ").repeated(8000)) << all << true;
        QTest::newRow("line breaks in a large font")
            << document("\\fs200 " + QByteArray("x\\line ").repeated(150000)) << all << true;
        QTest::newRow("tabs in a large font")
            << document("\\fs100 " + QByteArray("\\tab x").repeated(500000)) << all << true;
        QTest::newRow("indents leaving no width")
            << document("\\fs100\\li15000\\ri15000 " + words.repeated(70)) << all << true;
        QTest::newRow("indents given at each paragraph's end")
            << document("\\fs100 " + (words + "\\li15000\\ri15000\\par\\pard ").repeated(70)) << all
            << true;
        QTest::newRow("first-line indents")
            << document(("\\fs100\\fi31680 " + QByteArray("W W ").repeated(50) + "\\par ")
                            .repeated(4500))
            << all << true;
        QTest::newRow("empty paragraphs in a large font")
            << document("\\fs400 " + QByteArray("x\\par\\par ").repeated(20000)) << all << true;
        QTest::newRow("pictures shown ten times 22 inches tall")
            << tallPictures(500) << all << true;
        QTest::newRow("tabs to a stop past the line's end")
            << document("\\tx31680 " + QByteArray("\\tab ").repeated(20000)) << all << false;
        QByteArray stops;
        for (int stop = 1; stop <= 64; ++stop)
            stops += "\\tx" + QByteArray::number(stop * 1500);
        QTest::newRow("tabs to many stops, each past the line's end in a large font")
            << document("\\fs100" + stops + ' ' + QByteArray("x\\tab ").repeated(200000)) << all
            << true;
        QTest::newRow("tabs to a stop just inside the line's end")
            << document("\\tx4770\\fs30 " + QByteArray("x\\tab ").repeated(300000)) << all << true;
        QTest::newRow("pictures, the view showing three times the size")
            << tallPictures(200) << third << true;
        QTest::newRow("catalogue-sized text")
            << document(("\\b Genus\\b0  " + words.left(200) + "\\par ").repeated(4000)) << all
            << false;
    }
    void heightStaysBelowQtsLimit()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(qreal, layoutHeight);
        QFETCH(bool, cut);
        const rtf::ReadResult result =
            rtf::read(rtf, {.layoutHeight = layoutHeight, .progress = {}});
        QVERIFY(result.ok());
        QCOMPARE(result.cut, cut);
        QTextDocument &document = *result.document;
        // The text-only reading has all of the text, of which the document is the start.
        const QString text = rtf::readText(rtf).value();
        const QString shown = textWithoutPictures(document);
        QVERIFY(cut ? text.startsWith(shown) : text == shown);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            QVERIFY(block.text().count(u'\t') <= rtf::limits::MaxParagraphTabs);
        document.setTextWidth(ViewTextWidth);
        const qreal height = document.documentLayout()->documentSize().height();
        QVERIFY2(height < layoutHeight, qPrintable(QString::number(height)));
    }
};

QTEST_MAIN(TestRtfLayoutCaps)
#include "tst_rtflayoutcaps.moc"
