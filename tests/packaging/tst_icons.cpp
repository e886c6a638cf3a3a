// The icons that go into the hicolor theme: each fixed-size picture must have
// the size of the folder it is installed in (icon themes skip it otherwise),
// the larger ones must show the 32-pixel icon enlarged, and the scalable one
// must render to the same picture as the 32-pixel icon.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace
{

QString assetPath(const char *name)
{
    return QStringLiteral(FOSDAT_ASSETS_DIR "/") + QLatin1String(name);
}

QString packagingIconPath(int size)
{
    return QStringLiteral(FOSDAT_PACKAGING_DIR "/icons/fosdat-%1.png").arg(size);
}

QImage rendered(QSvgRenderer &renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

bool sameLook(QRgb p, QRgb q)
{
    const bool opaque = qAlpha(p) > 127;
    if (opaque != (qAlpha(q) > 127))
        return false;
    return !opaque || (p & RGB_MASK) == (q & RGB_MASK);
}

// Pixels of `large` that differ from the pixel of `small` they enlarge, in colour
// or in whether they are transparent at all.
int differingPixels(const QImage &large, const QImage &small)
{
    const int scale = large.width() / small.width();
    int count = 0;
    for (int y = 0; y < large.height(); ++y) {
        for (int x = 0; x < large.width(); ++x)
            count += sameLook(large.pixel(x, y), small.pixel(x / scale, y / scale)) ? 0 : 1;
    }
    return count;
}

} // namespace

class tst_Icons : public QObject
{
    Q_OBJECT

private slots:
    void fixedSizeIcons_data();
    void fixedSizeIcons();
    void scalableIconIsSquare();
    void scalableIconMatchesPixelIcon();
};

void tst_Icons::fixedSizeIcons_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("size");
    QTest::newRow("16x16") << assetPath("fosdat-16.png") << 16;
    QTest::newRow("32x32") << assetPath("fosdat-32.png") << 32;
    for (int size : {48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << packagingIconPath(size) << size;
}

void tst_Icons::fixedSizeIcons()
{
    QFETCH(QString, file);
    QFETCH(int, size);
    const QImage image(file);
    QVERIFY2(!image.isNull(), qPrintable(file));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // A whole multiple of 32 pixels shows each pixel of the 32-pixel icon as a square.
    const QImage pixels = QImage(assetPath("fosdat-32.png")).convertToFormat(QImage::Format_ARGB32);
    if (size % 32 == 0)
        QCOMPARE(differingPixels(image.convertToFormat(QImage::Format_ARGB32), pixels), 0);
}

void tst_Icons::scalableIconIsSquare()
{
    QSvgRenderer renderer(assetPath("fosdat.svg"));
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 32, 32));
    QCOMPARE(renderer.defaultSize(), QSize(32, 32));
}

void tst_Icons::scalableIconMatchesPixelIcon()
{
    QSvgRenderer renderer(assetPath("fosdat.svg"));
    const QImage pixels = QImage(assetPath("fosdat-32.png")).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(differingPixels(rendered(renderer, QSize(32, 32)), pixels), 0);
    // Enlarged, each square of the grid stays one flat colour.
    const QImage big = rendered(renderer, QSize(256, 256));
    QCOMPARE(differingPixels(big, pixels), 0);
}

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
