#pragma once

class QWidget;

namespace fosdat::diversity
{

// A window of its own (a dialog, a chart) stays on screen when the window
// it belongs to is closed or hidden; this makes `window` go with it, though
// not when that window is only minimised.
void hideWithParent(QWidget &window);

} // namespace fosdat::diversity
