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

// PDF export and printing after the file menu's first item, saving; the
// diversity window at the end of the commands.
void addFileCommands(QMenu *file, CommandMenus &menus)
{
    const QList<QAction *> items = file->actions();
    QAction *before = items.size() > 1 ? items[1] : nullptr;
    menus.exportPdf = addItem(file, "mnuExportPdf", QStringLiteral("&Экспорт в PDF..."), {});
    menus.print = addItem(file, "mnuPrint", QStringLiteral("&Печать..."),
                          {QKeySequence(Qt::CTRL | Qt::Key_P)});
    file->removeAction(menus.exportPdf);
    file->removeAction(menus.print);
    file->insertActions(before, {menus.exportPdf, menus.print});

    // Before the separator above "Выход".
    QAction *separator = nullptr;
    for (QAction *item : file->actions()) {
        if (item->isSeparator())
            separator = item;
    }
    menus.diversity = addItem(file, "mnuDiversity", QStringLiteral("Ра&знообразие во времени..."),
                              {QKeySequence(Qt::CTRL | Qt::Key_D)});
    file->removeAction(menus.diversity);
    file->insertAction(separator, menus.diversity);
}

} // namespace

CommandMenus addCommandMenus(QMenuBar *bar, QMenu *file)
{
    CommandMenus menus;
    addFileCommands(file, menus);
    QAction *before = entryAfter(bar, file);
    menus.references = addMenu(bar, before, "mnuRefs", QStringLiteral("&Ссылки"));
    menus.referenceLists = {
        addItem(menus.references, "mnuRefs1", QStringLiteral("Ссылки с &1-400"),
                {QKeySequence(Qt::ALT | Qt::Key_1)}),
        addItem(menus.references, "mnuRefs2", QStringLiteral("Ссылки с &401-800"),
                {QKeySequence(Qt::ALT | Qt::Key_2)}),
        addItem(menus.references, "mnuRefs3", QStringLiteral("Ссылки с &801-1200"),
                {QKeySequence(Qt::ALT | Qt::Key_3)}),
    };
    menus.references->addSeparator();
    // Enter is the keypad's Return.
    menus.referenceAtCaret =
        addItem(menus.references, "mnuReferenceAtCaret", QStringLiteral("Ссылка у &курсора"),
                {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});

    menus.view = addMenu(bar, before, "mnuView", QStringLiteral("&Вид"));
    // Ctrl+= is Ctrl+plus without Shift; the keypad's plus and minus match too.
    menus.zoomIn =
        addItem(menus.view, "mnuZoomIn", QStringLiteral("&Увеличить"),
                {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    menus.zoomOut = addItem(menus.view, "mnuZoomOut", QStringLiteral("У&меньшить"),
                            {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    menus.zoomReset = addItem(menus.view, "mnuZoomReset", QStringLiteral("&Обычный размер"),
                              {QKeySequence(Qt::CTRL | Qt::Key_0)});
    menus.zoomLevel = addItem(menus.view, "mnuZoomLevel", QString(), {});
    menus.view->addSeparator();
    menus.readingMode =
        addItem(menus.view, "mnuReadingMode", QStringLiteral("&Каталог во всё окно"),
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)});
    menus.readingMode->setCheckable(true);
    return menus;
}
