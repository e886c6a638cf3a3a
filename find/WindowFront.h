#pragma once

class QWidget;

// Restores a shown top-level window if it was minimised, raises it above the
// others and makes it active, so that the keyboard reaches it.
void bringWindowToFront(QWidget &window);
