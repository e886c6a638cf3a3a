#include "ReadingMode.h"

#include <QEvent>
#include <QMainWindow>
#include <QWindow>
#include <algorithm>

namespace
{

constexpr int Margin = 8;
constexpr int StripTop = 6;
constexpr int LinkGap = 12;
// The links' text stands level with the group list's.
constexpr int LinkDrop = 2;
// The panel takes a third of the width, within these bounds.
constexpr int MinPanelWidth = 240;
constexpr int MaxPanelWidth = 520;
constexpr int MinViewWidth = 200;
constexpr int MinContentHeight = 100;

int heightOf(const QWidget &widget)
{
    const int forWidth = widget.heightForWidth(widget.width());
    return forWidth > 0 ? forWidth : widget.sizeHint().height();
}

} // namespace

ReadingMode::ReadingMode(const Controls &controls) : QObject(controls.window), m_controls(controls)
{
    m_controls.window->centralWidget()->installEventFilter(this);
}

ReadingMode::~ReadingMode() = default;

void ReadingMode::setOn(bool on)
{
    if (on == isOn())
        return;
    if (on)
        enter();
    else
        leave();
}

void ReadingMode::enter()
{
    QMainWindow &window = *m_controls.window;
    Saved saved;
    saved.windowGeometry = window.geometry();
    QList<QWidget *> kept = m_controls.links;
    kept << m_controls.view << m_controls.panel << m_controls.groupList
         << m_controls.linkBackground;
    for (QWidget *widget : std::as_const(kept))
        saved.geometries.append({widget, widget->geometry()});
    const QList<QWidget *> children =
        window.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!kept.contains(child) && !child->isHidden())
            saved.hidden << child;
    }
    m_saved = std::move(saved);
    for (QWidget *child : std::as_const(m_saved->hidden))
        child->hide();
    arrange();
    setMaximizable(true);
}

void ReadingMode::leave()
{
    QMainWindow &window = *m_controls.window;
    const Saved saved = *std::exchange(m_saved, std::nullopt);
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        window.showNormal();
    setMaximizable(false);
    window.setGeometry(saved.windowGeometry);
    for (const auto &[widget, geometry] : saved.geometries)
        widget->setGeometry(geometry);
    for (QWidget *child : saved.hidden)
        child->show();
}

void ReadingMode::setMaximizable(bool maximizable)
{
    QMainWindow &window = *m_controls.window;
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowMaximizeButtonHint, maximizable);
    // setWindowFlags() would hide the window and show it again, and the
    // window manager place it anew; the shown window takes the new flags as
    // it stands.
    window.overrideWindowFlags(flags);
    if (QWindow *handle = window.windowHandle())
        handle->setFlags(flags);
}

// The group list keeps its size; the links follow it in a row, as high as
// their text; the view and the panel share what is left below.
void ReadingMode::arrange()
{
    const QWidget &central = *m_controls.window->centralWidget();
    const int width = central.width();
    QWidget &groupList = *m_controls.groupList;
    groupList.move(Margin, StripTop);
    int x = groupList.geometry().right() + 1 + 2 * LinkGap;
    int stripBottom = groupList.geometry().bottom() + 1;
    for (QWidget *link : std::as_const(m_controls.links)) {
        link->setGeometry(x, StripTop + LinkDrop, link->width(), heightOf(*link));
        x += link->width() + LinkGap;
        stripBottom = std::max(stripBottom, link->geometry().bottom() + 1);
    }
    const int top = stripBottom + Margin / 2;
    m_controls.linkBackground->setGeometry(0, 0, width, top);

    const int panelWidth = std::clamp(width / 3, MinPanelWidth, MaxPanelWidth);
    const int height = std::max(central.height() - top - Margin, MinContentHeight);
    m_controls.panel->setGeometry(width - Margin - panelWidth, top, panelWidth, height);
    m_controls.view->setGeometry(Margin, top,
                                 std::max(width - 3 * Margin - panelWidth, MinViewWidth), height);
}

bool ReadingMode::eventFilter(QObject *watched, QEvent *event)
{
    if (isOn() && event->type() == QEvent::Resize)
        arrange();
    return QObject::eventFilter(watched, event);
}
