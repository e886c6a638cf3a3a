#pragma once

#include <QMessageBox>
#include <QString>

class RichTextBox;

// What the find dialog needs from the rest of the program.
class FindHost
{
public:
    virtual ~FindHost() = default;

    // The catalogue window's view, the window created and shown first if it
    // had been closed.
    virtual RichTextBox *catalogueView() = 0;

    // One message box with an OK button.
    virtual void showMessage(const QString &text, const QString &title, QMessageBox::Icon icon) = 0;
};
