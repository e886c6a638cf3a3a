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

// Paints the figure at its export size scaled by `scale` from the painter's
// origin.
bool paintFigure(QPaintDevice &device, const FigureContent &content, double scale)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.scale(scale, scale);
    DiversityFigure(content, QRectF(QPointF(), DiversityFigure::ExportSize)).paint(painter);
    return painter.end();
}

} // namespace

QByteArray figureSvg(const FigureContent &content)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(DiversityFigure::ExportSize.toSize());
    svg.setViewBox(QRectF(QPointF(), DiversityFigure::ExportSize));
    svg.setResolution(96);
    svg.setTitle(content.measure);
    svg.setDescription(content.title);
    return paintFigure(svg, content, 1) ? buffer.data() : QByteArray();
}

QByteArray figurePng(const FigureContent &content)
{
    QImage image((DiversityFigure::ExportSize * PngScale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(96 * PngScale * 10000 / 254);
    image.setDotsPerMeterY(96 * PngScale * 10000 / 254);
    if (!paintFigure(image, content, PngScale))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

QByteArray figurePdf(const FigureContent &content)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setTitle(content.measure);
        pdf.setCreator(u"Fosdat"_s);
        // The figure keeps its proportions and fills the page's width or height.
        const double scale = std::min(pdf.width() / DiversityFigure::ExportSize.width(),
                                      pdf.height() / DiversityFigure::ExportSize.height());
        if (!paintFigure(pdf, content, scale))
            return {};
    }
    return buffer.data();
}

} // namespace fosdat::diversity
