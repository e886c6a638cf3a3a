#include "ListCopy.h"

#include "SearchResults.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QSet>
#include <algorithm>

namespace fosdat::diversity
{

namespace
{

// Where a row stands in a list of one level of rows under another.
std::pair<int, int> position(const QModelIndex &row)
{
    return row.parent().isValid() ? std::pair{row.parent().row(), row.row()}
                                  : std::pair{row.row(), -1};
}

} // namespace

QString copiedRows(const QAbstractItemView &list)
{
    const QAbstractItemModel *model = list.model();
    QModelIndexList chosen = list.selectionModel()->selectedRows();
    if (chosen.isEmpty() && list.currentIndex().isValid())
        chosen.append(list.currentIndex().siblingAtColumn(0));
    std::sort(chosen.begin(), chosen.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return position(a) < position(b); });
    QString text;
    QSet<QPersistentModelIndex> given;
    const auto give = [&](const QModelIndex &row) {
        if (given.contains(row))
            return;
        given.insert(row);
        QStringList fields;
        for (int column = 0; column < model->columnCount(row.parent()); ++column)
            fields << row.siblingAtColumn(column).data().toString();
        if (row.parent().isValid())
            fields << row.parent().data().toString();
        text += tabSeparatedRow(fields);
    };
    for (const QModelIndex &row : std::as_const(chosen)) {
        if (!model->hasChildren(row)) {
            give(row);
            continue;
        }
        for (int child = 0; child < model->rowCount(row); ++child)
            give(model->index(child, 0, row));
    }
    return text;
}

void addCopyCommands(QAbstractItemView &list)
{
    auto *copy = new QAction(QStringLiteral("Копировать"), &list);
    auto *selectAll = new QAction(QStringLiteral("Выделить всё"), &list);
    copy->setShortcut(QKeySequence::Copy);
    selectAll->setShortcut(QKeySequence::SelectAll);
    for (QAction *action : {copy, selectAll})
        action->setShortcutContext(Qt::WidgetShortcut);
    list.addActions({copy, selectAll});
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    QObject::connect(copy, &QAction::triggered, &list, [&list] {
        if (const QString text = copiedRows(list); !text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
    });
    QObject::connect(selectAll, &QAction::triggered, &list, &QAbstractItemView::selectAll);
}

} // namespace fosdat::diversity
