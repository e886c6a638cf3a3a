#include "ShownWindow.h"

#include "ShownView.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

namespace fosdat::bench
{

ShownWindow::ShownWindow(const QString &sampleDir) : m_window(m_cue, m_dialogs)
{
    QDir::setCurrent(sampleDir);
    m_window.loadStartupContent();
    m_window.show();
    waitUntilExposed(m_window);
}

void ShownWindow::click(QWidget *control, std::optional<QPointF> point)
{
    const QPointF at = point.value_or(QRectF(control->rect()).center());
    const QPointF global = control->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(control, &press);
    QApplication::sendEvent(control, &release);
}

} // namespace fosdat::bench
