#include "FigureExport.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// Paints the figure laid out at `size`, scaled by `scale` from the painter's
// origin.
bool paintFigure(QPaintDevice &device, const FigureContent &content, FigureSize size, double scale)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.scale(scale, scale);
    DiversityFigure(content, QRectF(QPointF(), size.logical())).paint(painter);
    return painter.end();
}

// Without the characters XML 1.0 does not allow (the C0 controls but tab and
// line ends, unpaired surrogates, U+FFFE and U+FFFF): a filter text pasted
// with them still makes a well-formed file.
QString xmlCharacters(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) ||
                 c == 0xFFFE || c == 0xFFFF)
            text[i] = QChar(0xFFFF); // dropped below
    }
    text.remove(QChar(0xFFFF));
    return text;
}

} // namespace

// QSvgGenerator (Qt 6.4.2, as measured) writes its title and description into
// the file as they are given, and its text as it is drawn, without dropping
// what XML forbids: the texts are made fit for XML here, the title and
// description escaped as well. tst_diversityfigure parses an export of
// hostile text and fails should Qt escape them too.
QByteArray figureSvg(const FigureContent &content, FigureSize size)
{
    FigureContent drawn = content;
    drawn.measure = xmlCharacters(content.measure);
    drawn.title = xmlCharacters(content.title);
    drawn.totals = xmlCharacters(content.totals);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // Its width and height in tenths of a millimetre at 254 a inch: the file
    // says them in whole millimetres.
    svg.setSize(QSize(qRound(size.widthMm * 10), qRound(size.heightMm * 10)));
    svg.setResolution(254);
    svg.setViewBox(QRectF(QPointF(), size.logical()));
    svg.setTitle(drawn.measure.toHtmlEscaped());
    svg.setDescription(drawn.title.toHtmlEscaped());
    return paintFigure(svg, drawn, size, 1) ? buffer.data() : QByteArray();
}

QByteArray figurePng(const FigureContent &content, FigureSize size)
{
    const double scale = PngDotsPerInch / 96;
    QImage image((size.logical() * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(PngDotsPerInch * 10000 / 254));
    image.setDotsPerMeterY(qRound(PngDotsPerInch * 10000 / 254));
    if (!paintFigure(image, content, size, scale))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

QByteArray figurePdf(const FigureContent &content, FigureSize size)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        const QPageSize page(QSizeF(size.widthMm, size.heightMm), QPageSize::Millimeter);
        pdf.setPageLayout(
            QPageLayout(page, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
        pdf.setTitle(content.measure);
        pdf.setCreator(u"Fosdat"_s);
        if (!paintFigure(pdf, content, size, pdf.width() / size.logical().width()))
            return {};
    }
    return buffer.data();
}

} // namespace fosdat::diversity
