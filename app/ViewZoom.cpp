#include "ViewZoom.h"

#include "CatalogueView.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>
#include <array>

namespace
{

constexpr auto Steps = std::to_array({50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300});
constexpr qsizetype NormalStep = 4;
static_assert(Steps[NormalStep] == 100);
static_assert(Steps.back() == ViewZoom::LargestPercent);

constexpr int WheelNotch = 120; // QWheelEvent::angleDelta() of one notch

// Asks any paint device for a metric. QPaintDevice::metric() is protected; a
// pointer to it, taken through a class derived from QPaintDevice that does
// not override it, may be applied to any device, and calls its override.
struct DeviceMetric : QPaintDevice {
    static int of(const QPaintDevice &device, PaintDeviceMetric metric)
    {
        return (device.*&DeviceMetric::metric)(metric);
    }
};

// Stands in for the view's viewport when the document is laid out: the
// viewport's metrics with its resolution scaled, so that point sizes, indents
// and pictures come out larger in pixels. It is never painted on.
class ZoomedDevice final : public QPaintDevice
{
public:
    ZoomedDevice(const QPaintDevice &base, qreal factor) : m_base(base), m_factor(factor) {}

    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    const QPaintDevice &m_base;
    qreal m_factor;
};

int ZoomedDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmDpiX:
        return qRound(m_base.logicalDpiX() * m_factor);
    case PdmDpiY:
        return qRound(m_base.logicalDpiY() * m_factor);
    case PdmPhysicalDpiX:
        return qRound(m_base.physicalDpiX() * m_factor);
    case PdmPhysicalDpiY:
        return qRound(m_base.physicalDpiY() * m_factor);
    case PdmWidth:
        return m_base.width();
    case PdmHeight:
        return m_base.height();
    case PdmWidthMM:
        return m_base.widthMM();
    case PdmHeightMM:
        return m_base.heightMM();
    case PdmNumColors:
        return m_base.colorCount();
    case PdmDepth:
        return m_base.depth();
    case PdmDevicePixelRatio:
        return m_base.devicePixelRatio();
    default: // as the viewport has it, also those a later Qt adds
        return DeviceMetric::of(m_base, metric);
    }
}

} // namespace

ViewZoom::ViewZoom(CatalogueView *view, QPlainTextEdit *panel)
    : QObject(view), m_view(view), m_panel(panel), m_panelPointSize(panel->font().pointSizeF()),
      m_step(NormalStep)
{
    view->viewport()->installEventFilter(this);
    panel->viewport()->installEventFilter(this);
}

ViewZoom::~ViewZoom()
{
    releaseDocument();
}

// A document laid out for the device lets go of it before the device goes.
void ViewZoom::releaseDocument()
{
    if (m_zoomedDocument)
        m_zoomedDocument->documentLayout()->setPaintDevice(nullptr);
    m_zoomedDocument = nullptr;
}

int ViewZoom::percent() const
{
    return Steps[m_step];
}

void ViewZoom::zoomIn()
{
    setStep(qMin(m_step + 1, qsizetype(Steps.size()) - 1));
}

void ViewZoom::zoomOut()
{
    setStep(qMax(m_step - 1, qsizetype(0)));
}

void ViewZoom::resetZoom()
{
    setStep(NormalStep);
}

void ViewZoom::setStep(qsizetype step)
{
    if (step == m_step)
        return;
    m_step = step;
    const std::unique_ptr<QPaintDevice> previous = std::move(m_device);
    if (step != NormalStep)
        m_device = std::make_unique<ZoomedDevice>(*m_view->viewport(), percent() / 100.0);
    applyToView(); // the document lets go of the previous device
    applyToPanel();
    emit zoomChanged(percent());
}

// The text at the top left corner stays there.
void ViewZoom::applyToView()
{
    QTextDocument *document = m_view->document();
    if (document != m_zoomedDocument)
        releaseDocument();
    m_zoomedDocument = m_device ? document : nullptr;
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    if (layout->paintDevice() == m_device.get())
        return;
    const CataloguePlace top = m_view->topPlace();
    layout->setPaintDevice(m_device.get());
    document->markContentsDirty(0, document->characterCount());
    m_view->showAtTop(top);
}

void ViewZoom::applyToPanel()
{
    QFont font = m_panel->font();
    font.setPointSizeF(m_panelPointSize * percent() / 100.0);
    m_panel->setFont(font);
}

bool ViewZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return QObject::eventFilter(watched, event);
    // A fine-grained wheel or touchpad steps once a whole notch has added up.
    m_wheelAngle += wheel->angleDelta().y();
    for (; m_wheelAngle >= WheelNotch; m_wheelAngle -= WheelNotch)
        zoomIn();
    for (; m_wheelAngle <= -WheelNotch; m_wheelAngle += WheelNotch)
        zoomOut();
    return true;
}
