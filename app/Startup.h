#pragma once

// Names the application as the desktop and its windows show it. Called once,
// right after the QApplication is made.
void setUpApplication();
