#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

// The menus that give the keyboard what the mouse reaches on the window
// itself: "&Ссылки" with the three reference lists (Alt+1, Alt+2, Alt+3, as
// their link labels are captioned) and the reference at the caret
// (Ctrl+Enter); "&Вид" with the zoom (Ctrl+plus or Ctrl+=, Ctrl+minus,
// Ctrl+0), the zoom level, and the catalogue over the whole window
// (Ctrl+Shift+R). And in "&Файл", after its first item, PDF export and
// printing (Ctrl+P). The caller connects the actions.
struct CommandMenus {
    QMenu *references = nullptr;
    std::array<QAction *, 3> referenceLists{};
    QAction *referenceAtCaret = nullptr;
    QMenu *view = nullptr;
    QAction *zoomIn = nullptr;
    QAction *zoomOut = nullptr;
    QAction *zoomReset = nullptr;
    QAction *zoomLevel = nullptr;   // says the zoom; does nothing
    QAction *readingMode = nullptr; // checkable
    QAction *exportPdf = nullptr;
    QAction *print = nullptr;
    QAction *diversity = nullptr;
};

// Adds both menus to `bar` right after `file`, and the file commands to `file`.
CommandMenus addCommandMenus(QMenuBar *bar, QMenu *file);
