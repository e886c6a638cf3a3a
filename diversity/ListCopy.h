#pragma once

#include <QString>

class QAbstractItemView;

namespace fosdat::diversity
{

// The rows selected in a list of entries (the current one where none is
// selected), in the list's order, as a spreadsheet takes them: one line a
// row, its columns separated by tabs. A row that stands for others (a reason
// of "Не учтено") gives those rows, each followed by its own text; a row
// is given once, however it was chosen.
QString copiedRows(const QAbstractItemView &list);

// "Копировать" (Ctrl+C) and "Выделить всё" (Ctrl+A) on a list, also in its
// context menu: the rows go to the clipboard as copiedRows() gives them.
void addCopyCommands(QAbstractItemView &list);

} // namespace fosdat::diversity
