#pragma once

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>

// Runs `handle` on the next popup menu once it is shown, then closes it: a
// context menu runs its own event loop, which the test does not return from
// until the menu is closed.
inline void whenMenu(std::function<void(QMenu *)> handle)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            handle(menu);
            menu->close();
        }
    });
    timer->start(10);
}
