#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

// The menus that give the keyboard what the mouse reaches on the window
// itself: "&Ссылки" with the three reference lists (Alt+1, Alt+2, Alt+3, as
// their link labels are captioned) and "&Вид" with the zoom (Ctrl+plus or
// Ctrl+=, Ctrl+minus, Ctrl+0). The caller connects the actions.
struct CommandMenus {
    QMenu *references = nullptr;
    std::array<QAction *, 3> referenceLists{};
    QMenu *view = nullptr;
    QAction *zoomIn = nullptr;
    QAction *zoomOut = nullptr;
    QAction *zoomReset = nullptr;
};

// Adds both menus to `bar` right after `after`.
CommandMenus addCommandMenus(QMenuBar *bar, QMenu *after);
