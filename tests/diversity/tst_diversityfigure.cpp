// The figure painted into an image: each stage's value drawn over that
// stage's place in time, old on the left; nothing drawn where a value cannot
// be (undefined, or 0 on a logarithmic axis); a point in a stage's column
// found to be that stage; the end-Cretaceous extinction marked at its age.
// The window's SVG export of any text typed in its filter, read back by an
// XML parser.
#include "DiversityFigure.h"
#include "DiversityWindow.h"
#include "FigureExport.h"
#include "TimeScale.h"
#include "support/DataTree.h"
#include "support/WindowCatalogue.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QXmlStreamReader>

using namespace fosdat;
using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

// Where the figures are laid out: a large export's size.
const QRectF FigureBounds(0, 0, 1200, 675);

// The step line's dark blue, not its light fill, the grid or the marks.
bool isCurve(QRgb pixel)
{
    return qBlue(pixel) - qRed(pixel) > 60 && qBlue(pixel) - qGreen(pixel) > 40 &&
           qRed(pixel) < 120;
}

// The second series' orange.
bool isSecond(QRgb pixel)
{
    return qRed(pixel) > 190 && qGreen(pixel) > 90 && qGreen(pixel) < 170 && qBlue(pixel) < 80;
}

// The range band's light tan over white.
// The first two series compared beside the values: red, green.
bool isFirstSeries(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}
bool isSecondSeries(QRgb pixel)
{
    return qGreen(pixel) > 120 && qRed(pixel) < 90 && qBlue(pixel) < 100;
}

bool isBand(QRgb pixel)
{
    return qRed(pixel) - qBlue(pixel) > 20 && qBlue(pixel) > 150;
}

bool isExtinctionMark(QRgb pixel)
{
    return qRed(pixel) - qBlue(pixel) > 60 && qGreen(pixel) < 120;
}

// The rows of `image` in column `x` from `top` to `bottom` where `test` holds.
QList<int> rowsWhere(const QImage &image, int x, double top, double bottom, bool (*test)(QRgb))
{
    QList<int> rows;
    for (int y = int(top); y <= int(bottom); ++y) {
        if (test(image.pixel(x, y)))
            rows.append(y);
    }
    return rows;
}

// The figure painted at its export size.
QImage painted(const FigureContent &content)
{
    const QRectF bounds = FigureBounds;
    QImage image(bounds.size().toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    DiversityFigure(content, bounds).paint(painter);
    return image;
}

// The texts of the figure's SVG, in their order: a text may be written in runs.
QString svgTexts(const FigureContent &content)
{
    QXmlStreamReader svg(figureSvg(content));
    QString texts;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text")
            texts += svg.readElementText();
    }
    return texts;
}

} // namespace

class TestDiversityFigure : public QObject
{
    Q_OBJECT

private slots:
    void valuesOverTheirStages_data()
    {
        QTest::addColumn<bool>("logarithmic");
        QTest::addColumn<std::optional<double>>("others"); // every stage not named
        QTest::addColumn<QVariantMap>("values");
        QTest::newRow("counts, linear axis")
            << false << std::optional<double>(0)
            << QVariantMap{{u"Trem"_s, 25}, {u"Camp"_s, 40}, {u"Maas"_s, 10}, {u"Aale"_s, 0}};
        QTest::newRow("counts, logarithmic axis: no line at 0")
            << true << std::optional<double>(0)
            << QVariantMap{{u"Trem"_s, 100}, {u"Camp"_s, 1000}, {u"Maas"_s, 10}};
        QTest::newRow("rates below one, undefined elsewhere")
            << false << std::optional<double>()
            << QVariantMap{{u"Camp"_s, 0.5}, {u"Maas"_s, 0.05}, {u"Fort"_s, 0.25}};
    }
    void valuesOverTheirStages()
    {
        QFETCH(bool, logarithmic);
        QFETCH(std::optional<double>, others);
        QFETCH(QVariantMap, values);

        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        FigureContent content;
        content.scale = scale;
        content.logarithmic = logarithmic;
        content.wholeNumbers = others.has_value();
        content.values.fill(others, scale->stages().size());
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            content.values[scale->stageIndex(it.key())] = it.value().toDouble();
        const QRectF bounds = FigureBounds;
        const DiversityFigure figure(content, bounds);
        QImage image(bounds.size().toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        figure.paint(painter);
        painter.end();

        const QRectF plot = figure.plotArea();
        QVERIFY(bounds.contains(plot));
        // Old on the left.
        QVERIFY(figure.xOf(500) < figure.xOf(100));
        QCOMPARE(figure.xOf(scale->stages().constFirst().base), plot.left());
        QCOMPARE(figure.xOf(0), plot.right());
        for (int stage = 0; stage < scale->stages().size(); ++stage) {
            const QRectF column = figure.stageColumn(stage);
            if (column.width() >= 1)
                QCOMPARE(figure.stageAt(column.center()), stage);
            const int x = int(column.center().x());
            const QList<int> curve = rowsWhere(image, x, plot.top(), plot.bottom(), isCurve);
            const std::optional<double> value = content.values[stage];
            if (column.width() < 6)
                continue; // the vertical steps at its edges are too near
            if (!value || (logarithmic && *value <= 0)) {
                QVERIFY2(curve.isEmpty(), qPrintable(scale->stages()[stage].code));
                continue;
            }
            const double y = *figure.yOf(*value);
            QVERIFY2(!curve.isEmpty() && std::abs(curve.constFirst() - y) <= 2 &&
                         std::abs(curve.constLast() - y) <= 2,
                     qPrintable(scale->stages()[stage].code));
        }
        const QList<int> boundary =
            rowsWhere(image, qRound(figure.xOf(66)), plot.top(), plot.bottom(), isExtinctionMark);
        QVERIFY(boundary.size() > plot.height() / 3); // a dashed line down the plot
    }

    // A time chosen fills the plot's width: its ends at the plot's edges, and
    // nothing of the time before or after drawn beside the plot (the value
    // axis's labels and the margins stay white in the period band's row).
    void timeShown()
    {
        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        FigureContent content;
        content.scale = scale;
        content.values.fill(10.0, scale->stages().size());
        content.oldest = 300;
        content.youngest = 100;
        const DiversityFigure figure(content, FigureBounds);
        const QRectF plot = figure.plotArea();
        QCOMPARE(figure.xOf(300), plot.left());
        QCOMPARE(figure.xOf(100), plot.right());
        const QImage image = painted(content);
        const int bandRow = int(plot.bottom()) + 6;
        QVERIFY(image.pixel(int(plot.center().x()), bandRow) != qRgb(255, 255, 255));
        for (int x = 0; x < image.width(); ++x) {
            if (x < plot.left() - 1 || x > plot.right() + 1)
                QVERIFY2(image.pixel(x, bandRow) == qRgb(255, 255, 255),
                         qPrintable(QString::number(x)));
        }
        // Every stage of the time shown named by one rule, none skipped: on
        // a page's width its code, or its first two letters.
        QStringList names;
        QXmlStreamReader svg(figureSvg(content));
        while (!svg.atEnd()) {
            if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text")
                names << svg.readElementText();
        }
        const DiversityFigure onPage(content, QRectF(QPointF(), PageWidth.logical()));
        for (int s = 0; s < scale->stages().size(); ++s) {
            const strata::Stage &stage = scale->stages()[s];
            // Room for two letters of 9 pixels.
            if (stage.top >= 100 && stage.base <= 300 && onPage.stageColumn(s).width() >= 24)
                QVERIFY2(names.contains(stage.code) || names.contains(stage.code.left(2)),
                         qPrintable(stage.code));
        }
    }

    // The hatched strip of entries not counted, along the axis over their
    // stages only, and named in the legend.
    void notCountedStrip()
    {
        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        FigureContent content;
        content.scale = scale;
        content.values.fill(10.0, scale->stages().size());
        const FigureContent plain = content;
        content.notCounted.fill(0, scale->stages().size());
        const QStringList marked{u"Trem"_s, u"Camp"_s}, unmarked{u"Aale"_s, u"Give"_s};
        for (const QString &code : marked)
            content.notCounted[scale->stageIndex(code)] = 3;
        const DiversityFigure figure(content, FigureBounds);
        const QRectF plot = figure.plotArea();
        const QImage drawn = painted(content);
        const QImage without = painted(plain);
        const auto hatched = [&](const QImage &image, const QString &code) {
            const int x = int(figure.stageColumn(scale->stageIndex(code)).center().x());
            return rowsWhere(image, x, plot.bottom() - 7, plot.bottom() - 1, isExtinctionMark)
                .size();
        };
        for (const QString &code : marked) {
            QVERIFY2(hatched(drawn, code) > 0, qPrintable(code));
            QCOMPARE(hatched(without, code), 0);
        }
        for (const QString &code : unmarked)
            QCOMPARE(hatched(drawn, code), 0);
        QVERIFY(svgTexts(content).contains(u"не учтены роды с неизвестным ярусом"_s));
        QVERIFY(!svgTexts(plain).contains(u"не учтены"_s));
    }

    // Origination and extinction rates on one figure: each series in its own
    // colour over its stages, a bar of ±1 standard error at each stage's
    // middle (the same figure without errors has none), both named in a
    // legend.
    void ratesWithErrorBars()
    {
        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        const QStringList stages{u"Trem"_s, u"Ceno"_s, u"Camp"_s, u"Maas"_s};
        FigureContent content;
        content.scale = scale;
        content.wholeNumbers = false;
        content.values.resize(scale->stages().size());
        content.errors.resize(scale->stages().size());
        FigureSeries extinction{u"Вымирание (q)"_s, content.values, content.errors};
        for (const QString &code : stages) {
            const int stage = scale->stageIndex(code);
            content.values[stage] = 0.8;
            content.errors[stage] = 0.15;
            extinction.values[stage] = 0.3;
            extinction.errors[stage] = 0.1;
        }
        content.valuesName = u"Появление (p)"_s;
        content.second = extinction;
        FigureContent bare = content;
        bare.errors.clear();
        bare.second->errors.clear();

        const QRectF bounds = FigureBounds;
        const DiversityFigure figure(content, bounds);
        const QImage withErrors = painted(content);
        const QImage without = painted(bare);
        const QRectF plot = figure.plotArea();
        const auto extent = [&](const QImage &painted, int x, bool (*test)(QRgb)) {
            const QList<int> rows = rowsWhere(painted, x, plot.top(), plot.bottom(), test);
            return rows.isEmpty() ? -1 : rows.back() - rows.front();
        };
        for (const QString &code : stages) {
            const int x = int(figure.stageColumn(scale->stageIndex(code)).center().x());
            for (auto test : {isCurve, isSecond}) {
                const int bare = extent(without, x, test);
                QVERIFY2(bare >= 0 && bare <= 3, qPrintable(code)); // the step line alone
                QVERIFY2(extent(withErrors, x, test) > bare + 20, qPrintable(code));
            }
        }
        const QString texts = svgTexts(content);
        QVERIFY(texts.contains(u"Появление (p)"_s));
        QVERIFY(texts.contains(u"Вымирание (q)"_s));
    }

    // Two series beside the values, each its line at its own value in its
    // own colour, all three named in the legend; none drawn without them.
    void seriesBesideTheValues()
    {
        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        const int camp = scale->stageIndex(u"Camp");
        FigureContent content;
        content.scale = scale;
        content.values.resize(scale->stages().size());
        content.values[camp] = 10;
        content.valuesName = u"ГУБКИ"_s;
        for (const auto &[name, value] : {std::pair{u"МШАНКИ"_s, 4.0}, {u"БИВАЛЬВИИ"_s, 7.0}}) {
            FigureSeries series{name, QList<std::optional<double>>(scale->stages().size()), {}};
            series.values[camp] = value;
            content.series.append(series);
        }
        FigureContent alone = content;
        alone.series.clear();

        const DiversityFigure figure(content, FigureBounds);
        const QRectF plot = figure.plotArea();
        const int x = int(figure.stageColumn(camp).center().x());
        const QImage image = painted(content);
        using Test = bool (*)(QRgb);
        for (const auto &[test, value] :
             {std::pair<Test, double>{isFirstSeries, 4.0}, {isSecondSeries, 7.0}}) {
            const QList<int> rows = rowsWhere(image, x, plot.top(), plot.bottom(), test);
            QVERIFY(!rows.isEmpty());
            QVERIFY(std::abs(rows.front() - *figure.yOf(value)) <= 2);
            QVERIFY(rowsWhere(painted(alone), x, plot.top(), plot.bottom(), test).isEmpty());
        }
        QVERIFY(!rowsWhere(image, x, plot.top(), plot.bottom(), isCurve).isEmpty());
        const QString texts = svgTexts(content);
        for (const QString &name : {u"ГУБКИ"_s, u"МШАНКИ"_s, u"БИВАЛЬВИИ"_s})
            QVERIFY2(texts.contains(name), qPrintable(name));
    }

    // A count's part (the extinct genera) filled darker from the axis up, and
    // the band of its range above the curve, both named in the legend: what
    // the same figure without them does not draw.
    void partAndRange()
    {
        const auto scale = std::make_shared<const strata::TimeScale>(strata::shippedTimeScale());
        FigureContent bare;
        bare.scale = scale;
        bare.values.resize(scale->stages().size());
        bare.values[scale->stageIndex(u"Aale")] = 60; // one value axis for both figures
        FigureContent content = bare;
        content.part = FigureSeries{u"вымершие"_s, bare.values, {}};
        content.restName = u"ныне живущие"_s;
        content.bandLow = content.bandHigh = bare.values;
        const QStringList stages{u"Trem"_s, u"Camp"_s};
        for (const QString &code : stages) {
            const int stage = scale->stageIndex(code);
            bare.values[stage] = content.values[stage] = 40;
            content.part->values[stage] = 20;
            content.bandLow[stage] = 30;
            content.bandHigh[stage] = 60;
        }
        const QRectF bounds = FigureBounds;
        const DiversityFigure figure(content, bounds);
        const QImage drawn = painted(content);
        const QImage plain = painted(bare);
        const QRectF plot = figure.plotArea();
        for (const QString &code : stages) {
            const int x = int(figure.stageColumn(scale->stageIndex(code)).center().x());
            const int curveTop = rowsWhere(drawn, x, plot.top(), plot.bottom(), isCurve).value(0);
            QVERIFY2(curveTop > plot.top(), qPrintable(code));
            // Above the curve: the band, where the plain figure is white.
            const auto bandRows = [&](const QImage &painted) {
                return rowsWhere(painted, x, plot.top(), curveTop - 3, isBand).size();
            };
            QVERIFY2(bandRows(drawn) > 20 && bandRows(plain) == 0, qPrintable(code));
            // Just above the axis: darker than the plain figure's fill.
            const int y = int(plot.bottom()) - 3;
            QVERIFY2(qGray(drawn.pixel(x, y)) < qGray(plain.pixel(x, y)) - 20, qPrintable(code));
        }
        const QString texts = svgTexts(content);
        for (const QString &name : {u"вымершие"_s, u"ныне живущие"_s, u"пределы"_s})
            QVERIFY2(texts.contains(name), qPrintable(name));
    }

    // Whatever the filter holds, the SVG is well-formed XML whose description
    // is the window's title, the characters XML forbids left out.
    void svgOfAnyFilterText_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("inTitle"); // as the description must say it
        QTest::newRow("markup") << u"<desc>&amp; </svg> \"x\" 'y' ]]>"_s
                                << u"<desc>&amp; </svg> \"x\" 'y' ]]>"_s;
        QTest::newRow("control characters")
            << u"a\u0001b\u0008c\u000Bd\u001Fe\u0000f\tg"_s << u"abcdef\tg"_s;
        QTest::newRow("a lone surrogate, a pair kept")
            << u"x\xD800y\U0001D11E"_s << u"xy\U0001D11E"_s;
        QTest::newRow("characters XML excludes") << u"p\uFFFEq\uFFFFr"_s << u"pqr"_s;
    }
    void svgOfAnyFilterText()
    {
        QFETCH(QString, filter);
        QFETCH(QString, inTitle);
        DataTree tree;
        QVERIFY(tree.writeCatalogue(u"FORAM"_s, "Abcdia K (Camp) (12)"));
        DiversityWindow window;
        window.setCatalogue(windowCatalogue());
        window.findChild<QLineEdit *>(u"filterText"_s)->setText(filter);
        const QByteArray svg = window.exportBytes(DiversityExport::Svg);
        QVERIFY(!svg.isEmpty());

        QXmlStreamReader xml(svg);
        QString description;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"desc")
                description = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(description, u"Все группы · записи с «%1»"_s.arg(inTitle));
    }
};

QTEST_MAIN(TestDiversityFigure)
#include "tst_diversityfigure.moc"
