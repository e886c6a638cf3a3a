#pragma once

#include <QHash>
#include <QStyledItemDelegate>

// Paints a search result on one line: the group's caption in a column of its
// own, then the catalogue line with the match in bold on a light background.
// Where the match would not show, the line is cut in the middle: its start,
// the genus it names, stays, then an ellipsis and the part around the match.
// Each row is laid out once per paint, from the part of its line around the
// match. Text is drawn in the view's text colours, selected or not.
class SearchResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // `palette` with a selection whose text is legible: its background made
    // darker (or lighter, for dark text) until the two have the contrast of
    // 4.5:1 that any text should have. Fusion's white on its light blue has 3.7:1.
    static QPalette legiblePalette(QPalette palette);

private:
    // The caption cut to the column, kept: the same few come again and again.
    const QString &shownCaption(const QString &caption, const QFontMetrics &metrics,
                                int width) const;

    mutable QHash<QString, QString> m_captions;
    mutable int m_captionWidth = 0;
};
