#pragma once

#include <QHash>
#include <QStyledItemDelegate>

// Paints a search result on one line: the group's caption in a column of its
// own, then the catalogue line with the match in bold on a light background,
// the start of the line giving way when the match would not show. Each row is
// laid out once per paint, from the part of its line around the match.
class SearchResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The caption cut to the column, kept: the same few come again and again.
    const QString &shownCaption(const QString &caption, const QFontMetrics &metrics,
                                int width) const;

    mutable QHash<QString, QString> m_captions;
    mutable int m_captionWidth = 0;
};
