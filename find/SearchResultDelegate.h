#pragma once

#include <QStyledItemDelegate>

// Paints a search result on one line: the group's caption in a column of its
// own, then the catalogue line with the match in bold on a light background.
class SearchResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
