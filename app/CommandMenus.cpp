#include "CommandMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace
{

QAction *addItem(QMenu *menu, const char *name, const QString &text,
                 const QList<QKeySequence> &shortcuts)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

// The menu bar's entry that follows `menu`'s, or null at the end.
QAction *entryAfter(QMenuBar *bar, QMenu *menu)
{
    const QList<QAction *> entries = bar->actions();
    const qsizetype index = entries.indexOf(menu->menuAction());
    return index >= 0 && index + 1 < entries.size() ? entries[index + 1] : nullptr;
}

QMenu *addMenu(QMenuBar *bar, QAction *before, const char *name, const QString &title)
{
    auto *menu = new QMenu(title, bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->insertMenu(before, menu);
    return menu;
}

} // namespace

CommandMenus addCommandMenus(QMenuBar *bar, QMenu *after)
{
    CommandMenus menus;
    QAction *before = entryAfter(bar, after);
    menus.references = addMenu(bar, before, "mnuRefs", QStringLiteral("&Ссылки"));
    menus.referenceLists = {
        addItem(menus.references, "mnuRefs1", QStringLiteral("Ссылки с &1-400"),
                {QKeySequence(Qt::ALT | Qt::Key_1)}),
        addItem(menus.references, "mnuRefs2", QStringLiteral("Ссылки с &401-800"),
                {QKeySequence(Qt::ALT | Qt::Key_2)}),
        addItem(menus.references, "mnuRefs3", QStringLiteral("Ссылки с &801-1200"),
                {QKeySequence(Qt::ALT | Qt::Key_3)}),
    };

    menus.view = addMenu(bar, before, "mnuView", QStringLiteral("&Вид"));
    // Ctrl+= is Ctrl+plus without Shift; the keypad's plus and minus match too.
    menus.zoomIn =
        addItem(menus.view, "mnuZoomIn", QStringLiteral("&Увеличить"),
                {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    menus.zoomOut = addItem(menus.view, "mnuZoomOut", QStringLiteral("У&меньшить"),
                            {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    menus.zoomReset = addItem(menus.view, "mnuZoomReset", QStringLiteral("&Обычный размер"),
                              {QKeySequence(Qt::CTRL | Qt::Key_0)});
    return menus;
}
