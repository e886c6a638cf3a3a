#pragma once

// Names the application as the desktop and its windows show it, loads Qt's
// own Russian texts, and makes a file size limit fail a write instead of
// ending the program. Called once, right after the QApplication is made.
void setUpApplication();
