#include "WindowFront.h"

#include <QWidget>

void bringWindowToFront(QWidget &window)
{
    // A minimised window would take the focus out of sight.
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
}
