#include "HideWithParent.h"

#include <QEvent>
#include <QWidget>

namespace fosdat::diversity
{

namespace
{

class ParentWatcher : public QObject
{
public:
    explicit ParentWatcher(QWidget &window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A minimised window is hidden spontaneously, by the window system.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_window.hide();
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &m_window;
};

} // namespace

void hideWithParent(QWidget &window)
{
    if (QWidget *parent = window.parentWidget())
        parent->installEventFilter(new ParentWatcher(window));
}

} // namespace fosdat::diversity
