// The range chart drawn from bars made by hand: every bar in the exports,
// whatever their number (the SVG's height, the PDF's pages, the PNG's
// resolution), and the view keeping its current bar in sight.
#include "FigureExport.h"
#include "RangeChartView.h"
#include "TimeScale.h"
#include "support/PdfTools.h"
#include "support/SvgShapes.h"

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace fosdat;
using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

// A name of letters only, one word to pdftotext, without the letters a font
// joins into a ligature (ff, fi, fl): Genbb, Genbc...
QString nameOf(int bar)
{
    static const QString alphabet = u"abcdeghjkmnopqrsuvwxyz"_s;
    QString letters;
    for (qsizetype n = bar + alphabet.size() + 1; n > 0; n /= alphabet.size())
        letters.prepend(alphabet[n % alphabet.size()]);
    return u"Gen"_s + letters;
}

RangeChartContent chartOf(int bars)
{
    RangeChartContent content;
    content.scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
    for (int bar = 0; bar < bars; ++bar)
        content.bars.append({bar,
                             nameOf(bar),
                             {},
                             300.0 - bar % 200,
                             100.0 - bar % 90,
                             bar % 7 == 0,
                             bar % 5 == 0});
    return content;
}

} // namespace

class TestRangeChart : public QObject
{
    Q_OBJECT

private slots:
    // Whatever the number of bars, the SVG sized to hold them holds each:
    // its height goes through millimetres and back.
    void everyBarExported()
    {
        RangeChartContent content;
        content.scale = chartOf(0).scale;
        for (int bars = 1; bars <= 160; ++bars) {
            content.bars.append({bars, u"Genus%1"_s.arg(bars), {}, 100.0 + bars, 90, false, false});
            const SvgShapes svg = readSvg(rangeChartSvg(content, JournalColumn));
            const auto drawn = std::count_if(svg.boxes.cbegin(), svg.boxes.cend(),
                                             [](const SvgBox &b) { return b.box.height() < 10; });
            QCOMPARE(drawn, bars);
        }
    }

    // By first appearance, then last, then name; by family in the order of
    // the Russian alphabet, those without one last.
    void barsSorted_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("first appearance")
            << int(RangeOrder::FirstAppearance)
            << QStringList{u"Adia"_s, u"Bdia"_s, u"Cdia"_s, u"Ddia"_s, u"Edia"_s};
        // Russian collation: Cyrillic names before Latin ones.
        QTest::newRow("family") << int(RangeOrder::Family)
                                << QStringList{u"Edia"_s, u"Bdia"_s, u"Ddia"_s, u"Adia"_s,
                                               u"Cdia"_s};
    }
    void barsSorted()
    {
        QFETCH(int, order);
        QFETCH(QStringList, names);
        // name, family, base, top
        QList<RangeBar> bars{{0, u"Cdia"_s, {}, 200, 100, false, false},
                             {1, u"Edia"_s, u"Бетидные"_s, 150, 10, false, false},
                             {2, u"Adia"_s, {}, 300, 100, false, false},
                             {3, u"Ddia"_s, u"Alphidae"_s, 200, 100, false, false},
                             {4, u"Bdia"_s, u"Alphidae"_s, 300, 50, false, false}};
        sortBars(bars, RangeOrder(order));
        QStringList sorted;
        for (const RangeBar &bar : bars)
            sorted << bar.name;
        QCOMPARE(sorted, names);
    }

    // A PDF in pages, each name on one of them once.
    void pdfHoldsEachBarOnce()
    {
        constexpr int Bars = 250;
        const RangeChartContent content = chartOf(Bars);
        const QTemporaryDir folder;
        const QString path = folder.filePath(u"chart.pdf"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rangeChartPdf(content, PageWidth));
        file.close();
        QVERIFY(pdfPages(path) > 1);
        const QString text = runTool(u"pdftotext"_s, {path, u"-"_s});
        for (int bar = 0; bar < Bars; ++bar) {
            const QRegularExpression word(u"\\b%1\\b"_s.arg(nameOf(bar)));
            QVERIFY2(text.count(word) == 1, qPrintable(nameOf(bar)));
        }
    }

    // A PNG at 300 pixels an inch while that keeps it within its pixels,
    // and within them at a lower resolution when not.
    void pngWithinItsPixels_data()
    {
        QTest::addColumn<int>("bars");
        QTest::addColumn<bool>("fullResolution");
        QTest::newRow("a few") << 10 << true;
        QTest::newRow("thousands") << 4000 << false;
    }
    void pngWithinItsPixels()
    {
        QFETCH(int, bars);
        QFETCH(bool, fullResolution);
        QImage image;
        QVERIFY(image.loadFromData(rangeChartPng(chartOf(bars), PageWidth), "PNG"));
        QVERIFY(double(image.width()) * image.height() <= PngPixels);
        QVERIFY(image.height() <= 32767);
        const double dotsPerInch = image.dotsPerMeterX() * 0.0254;
        QCOMPARE(qRound(dotsPerInch) == qRound(PngDotsPerInch), fullResolution);
        // As wide as the page at that resolution.
        QCOMPARE(image.width(), qRound(PageWidth.widthMm / 25.4 * dotsPerInch));
    }

    // Down moves the current bar and keeps it in sight; Page Down scrolls a
    // page; the scroll bar stands for every bar.
    void viewKeepsTheCurrentBarInSight()
    {
        constexpr int Bars = 500;
        RangeChartView view;
        view.resize(600, 400);
        view.setContent(chartOf(Bars));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QScrollBar *scroll = view.verticalScrollBar();
        const int shown = scroll->pageStep();
        QVERIFY(shown > 3 && shown < 40);
        QCOMPARE(scroll->maximum(), Bars - shown);
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.currentBar(), 99);
        QVERIFY(view.currentBar() >= scroll->value() &&
                view.currentBar() < scroll->value() + shown);
        const int before = scroll->value();
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(scroll->value(), before + shown);
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        for (int i = 0; i < Bars; ++i)
            QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.currentBar(), Bars - 1);
        QCOMPARE(scroll->value(), scroll->maximum());
    }
};

QTEST_MAIN(TestRangeChart)
#include "tst_rangechart.moc"
