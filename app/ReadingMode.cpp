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
    saved.minimumSize = window.minimumSize();
    m_saved = std::move(saved);
    for (QWidget *child : std::as_const(m_saved->hidden))
        child->hide();
    window.setMinimumSize(smallestWindowSize());
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
    window.setMinimumSize(saved.minimumSize);
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

// The group list keeps its size; the links follow it in rows, as high as
// their text, as many to a row as `width` holds. Gives the strip's height.
int ReadingMode::arrangeStrip(int width)
{
    QWidget &groupList = *m_controls.groupList;
    groupList.move(Margin, StripTop);
    const int left = groupList.geometry().right() + 1 + 2 * LinkGap;
    int x = left;
    int y = StripTop + LinkDrop;
    int bottom = groupList.geometry().bottom() + 1;
    for (QWidget *link : std::as_const(m_controls.links)) {
        if (x > left && x + link->width() > width - Margin) {
            x = left;
            y = bottom;
        }
        link->setGeometry(x, y, link->width(), heightOf(*link));
        x += link->width() + LinkGap;
        bottom = std::max(bottom, link->geometry().bottom() + 1);
    }
    return bottom + Margin / 2;
}

// The view and the panel share what the strip leaves below it.
void ReadingMode::arrange()
{
    const QWidget &central = *m_controls.window->centralWidget();
    const int width = central.width();
    const int top = arrangeStrip(width);
    m_controls.linkBackground->setGeometry(0, 0, width, top);

    const int panelWidth = std::clamp(width / 3, MinPanelWidth, MaxPanelWidth);
    const int height = std::max(central.height() - top - Margin, MinContentHeight);
    m_controls.panel->setGeometry(width - Margin - panelWidth, top, panelWidth, height);
    m_controls.view->setGeometry(Margin, top,
                                 std::max(width - 3 * Margin - panelWidth, MinViewWidth), height);
}

// The window's smallest size in the mode: the group list beside the widest
// link, the view and the panel side by side at their smallest, none over
// another.
QSize ReadingMode::smallestWindowSize()
{
    const QMainWindow &window = *m_controls.window;
    int widestLink = 0;
    for (const QWidget *link : std::as_const(m_controls.links))
        widestLink = std::max(widestLink, link->width());
    const int stripWidth = m_controls.groupList->width() + 2 * Margin + 2 * LinkGap + widestLink;
    const int width = std::max(stripWidth, 3 * Margin + MinViewWidth + MinPanelWidth);
    const QSize central(width, arrangeStrip(width) + MinContentHeight + Margin);
    return central + window.size() - window.centralWidget()->size();
}

bool ReadingMode::eventFilter(QObject *watched, QEvent *event)
{
    if (isOn() && event->type() == QEvent::Resize)
        arrange();
    return QObject::eventFilter(watched, event);
}
