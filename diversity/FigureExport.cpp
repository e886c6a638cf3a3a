#include "FigureExport.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// Without the characters XML 1.0 does not allow: a filter text pasted with
// them still makes a well-formed file.
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

// The same of a file in UTF-8 as QSvgGenerator writes it: the C0 controls
// but tab and line ends, U+FFFE and U+FFFF dropped. Its text holds no lone
// surrogate, which UTF-8 cannot encode.
QByteArray xmlBytes(QByteArray bytes)
{
    qsizetype kept = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        if (c == 0xEF && i + 2 < bytes.size() && uchar(bytes[i + 1]) == 0xBF &&
            (uchar(bytes[i + 2]) == 0xBE || uchar(bytes[i + 2]) == 0xBF)) {
            i += 2;
            continue;
        }
        bytes[kept++] = bytes[i];
    }
    bytes.truncate(kept);
    return bytes;
}

} // namespace

// QSvgGenerator (Qt 6.4.2, as measured) writes its title and description into
// the file as they are given, and its text as it is drawn, without dropping
// what XML forbids: the title and description are escaped here, and what
// XML forbids is dropped from the whole file, so that no figure's texts need
// it. tst_diversityfigure parses an export of hostile text and fails should
// Qt escape them too.
QByteArray drawingSvg(const Drawing &drawing)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // Its width and height in tenths of a millimetre at 254 a inch: the file
    // says them in whole millimetres.
    svg.setSize(QSize(qRound(drawing.size.widthMm * 10), qRound(drawing.size.heightMm * 10)));
    svg.setResolution(254);
    svg.setViewBox(QRectF(QPointF(), drawing.size.logical()));
    svg.setTitle(xmlCharacters(drawing.title).toHtmlEscaped());
    svg.setDescription(xmlCharacters(drawing.description).toHtmlEscaped());
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    drawing.paint(painter, 0);
    return painter.end() ? xmlBytes(buffer.data()) : QByteArray();
}

QByteArray drawingPng(const Drawing &drawing, double dotsPerInch)
{
    const double scale = dotsPerInch / 96;
    QImage image((drawing.size.logical() * scale).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dotsPerInch * 10000 / 254));
    image.setDotsPerMeterY(qRound(dotsPerInch * 10000 / 254));
    QPainter painter;
    if (!painter.begin(&image))
        return {};
    painter.scale(scale, scale);
    drawing.paint(painter, 0);
    if (!painter.end())
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

QByteArray drawingPdf(const Drawing &drawing)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        const QPageSize page(QSizeF(drawing.size.widthMm, drawing.size.heightMm),
                             QPageSize::Millimeter);
        pdf.setPageLayout(
            QPageLayout(page, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
        pdf.setTitle(drawing.title);
        pdf.setCreator(u"Fosdat"_s);
        QPainter painter;
        if (!painter.begin(&pdf))
            return {};
        const double scale = pdf.width() / drawing.size.logical().width();
        for (int page = 0; page < drawing.pages; ++page) {
            if (page > 0 && !pdf.newPage())
                return {};
            painter.save();
            painter.scale(scale, scale);
            drawing.paint(painter, page);
            painter.restore();
        }
        if (!painter.end())
            return {};
    }
    return buffer.data();
}

namespace
{

Drawing figureDrawing(const FigureContent &content, FigureSize size)
{
    return {size, 1, content.measure, content.title, [&content, size](QPainter &painter, int) {
                DiversityFigure(content, QRectF(QPointF(), size.logical())).paint(painter);
            }};
}

double logicalToMm(double logical)
{
    return logical / 96 * 25.4;
}

// The chart whole on one page `width` wide.
Drawing wholeChart(const RangeChartContent &content, FigureSize width)
{
    const int rows = int(content.bars.size());
    const FigureSize size{width.widthMm, logicalToMm(RangeChart::heightFor(rows))};
    return {size, 1, content.title, content.title, [&content, size](QPainter &painter, int) {
                RangeChart(content, QRectF(QPointF(), size.logical())).paint(painter);
            }};
}

} // namespace

QByteArray figureSvg(const FigureContent &content, FigureSize size)
{
    return drawingSvg(figureDrawing(content, size));
}

QByteArray figurePng(const FigureContent &content, FigureSize size)
{
    return drawingPng(figureDrawing(content, size), PngDotsPerInch);
}

QByteArray figurePdf(const FigureContent &content, FigureSize size)
{
    return drawingPdf(figureDrawing(content, size));
}

QByteArray rangeChartSvg(const RangeChartContent &content, FigureSize size)
{
    return drawingSvg(wholeChart(content, size));
}

QByteArray rangeChartPng(const RangeChartContent &content, FigureSize size)
{
    const Drawing drawing = wholeChart(content, size);
    const QSizeF logical = drawing.size.logical();
    const double fitting = 96 * std::sqrt(PngPixels / (logical.width() * logical.height()));
    // A side of a PNG that image viewers open.
    constexpr double LongestSide = 32767;
    const double tallest = 96 * LongestSide / logical.height();
    return drawingPng(drawing, std::min({PngDotsPerInch, fitting, tallest}));
}

QByteArray rangeChartPdf(const RangeChartContent &content, FigureSize size)
{
    const FigureSize page{size.widthMm, size.widthMm * std::sqrt(2.0)};
    const int rowsOnPage = RangeChart::rowsFitting(page.logical().height());
    const int pages = std::max(1, int((content.bars.size() + rowsOnPage - 1) / rowsOnPage));
    return drawingPdf({page, pages, content.title, content.title,
                       [&content, page, rowsOnPage](QPainter &painter, int number) {
                           RangeChart(content, QRectF(QPointF(), page.logical()),
                                      number * rowsOnPage)
                               .paint(painter);
                       }});
}

} // namespace fosdat::diversity
