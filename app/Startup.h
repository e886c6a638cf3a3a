#pragma once

// Names the application as the desktop and its windows show it, and loads
// Qt's own Russian texts. Called once, right after the QApplication is made.
void setUpApplication();
