#include "SearchResultDelegate.h"

#include "SearchResultsModel.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr int Padding = 4;
// The widest captions take about this many average characters.
constexpr int CaptionCharacters = 28;
const QColor MatchBackground(255, 236, 140);

// Draws `text` from `x` on the row's baseline and gives the x after it.
int drawRun(QPainter &painter, const QStyleOptionViewItem &option, int x, const QString &text,
            const QFont &font)
{
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int baseline =
        option.rect.top() + (option.rect.height() + metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(x, baseline, text);
    return x + width;
}

} // namespace

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
    const QString caption = index.data(SearchResultsModel::CaptionRole).toString();
    const QString line = index.data(SearchResultsModel::LineRole).toString();
    const int matchStart = index.data(SearchResultsModel::MatchStartRole).toInt();
    const int matchLength = index.data(SearchResultsModel::MatchLengthRole).toInt();

    painter->save();
    painter->setClipRect(option.rect);
    const QFontMetrics metrics(option.font);
    const int captionWidth = metrics.averageCharWidth() * CaptionCharacters;
    int x = option.rect.left() + Padding;
    painter->setPen(option.palette.color(QPalette::Disabled, textRole));
    drawRun(*painter, option, x,
            metrics.elidedText(caption, Qt::ElideRight, captionWidth - Padding), option.font);
    x += captionWidth;

    // The start of the paragraph gives way when the match would not show.
    QFont bold = option.font;
    bold.setBold(true);
    const QString match = line.mid(matchStart, matchLength);
    const int matchWidth = QFontMetrics(bold).horizontalAdvance(match);
    const int room = option.rect.right() - Padding - x;
    QString before = line.left(matchStart);
    if (metrics.horizontalAdvance(before) + matchWidth > room * 3 / 4)
        before = metrics.elidedText(before, Qt::ElideLeft, std::max(room / 3, room - matchWidth));

    painter->setPen(option.palette.color(textRole));
    x = drawRun(*painter, option, x, before, option.font);
    if (!selected)
        painter->fillRect(QRect(x, option.rect.top() + 1, matchWidth, option.rect.height() - 2),
                          MatchBackground);
    x = drawRun(*painter, option, x, match, bold);
    const QString after = line.mid(matchStart + matchLength);
    drawRun(*painter, option, x,
            metrics.elidedText(after, Qt::ElideRight, option.rect.right() - Padding - x),
            option.font);
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.averageCharWidth() * (CaptionCharacters + 60), metrics.height() + Padding};
}
