#include "SearchResultDelegate.h"

#include "MatchColor.h"
#include "SearchResultsModel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace
{

constexpr int Padding = 4;
// The widest captions take about this many average characters.
constexpr int CaptionCharacters = 28;
// Characters of the line laid out on either side of the match: more than a
// row shows.
constexpr int Context = 160;
const QChar Ellipsis(0x2026);

struct LinePart {
    QString text;
    int matchStart = 0;
};

// The part of the line around the match, on one row.
LinePart linePart(const QString &line, int matchStart, int matchLength)
{
    const int from = std::max(0, matchStart - Context);
    QString text = line.mid(from, matchStart - from + matchLength + Context);
    for (QChar &c : text) {
        if (c == u'\t' || c == QChar::LineSeparator)
            c = u' ';
    }
    if (from > 0)
        text.prepend(Ellipsis);
    return {text, matchStart - from + (from > 0 ? 1 : 0)};
}

} // namespace

const QString &SearchResultDelegate::shownCaption(const QString &caption,
                                                  const QFontMetrics &metrics, int width) const
{
    if (width != m_captionWidth) {
        m_captions.clear();
        m_captionWidth = width;
    }
    auto found = m_captions.find(caption);
    if (found == m_captions.end())
        found = m_captions.insert(caption, metrics.elidedText(caption, Qt::ElideRight, width));
    return *found;
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
    const int matchLength = index.data(SearchResultsModel::MatchLengthRole).toInt();
    const LinePart part =
        linePart(index.data(SearchResultsModel::LineRole).toString(),
                 index.data(SearchResultsModel::MatchStartRole).toInt(), matchLength);

    painter->save();
    painter->setClipRect(option.rect);
    const QFontMetrics metrics(option.font);
    const int captionWidth = metrics.averageCharWidth() * CaptionCharacters;
    QRect text = option.rect.adjusted(Padding, 0, -Padding, 0);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Disabled, textRole));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                      shownCaption(index.data(SearchResultsModel::CaptionRole).toString(), metrics,
                                   captionWidth - Padding));
    text.setLeft(text.left() + captionWidth);

    QTextLayout layout(part.text, option.font);
    QTextCharFormat match;
    match.setFontWeight(QFont::Bold);
    if (!selected)
        match.setBackground(MatchBackground);
    layout.setFormats({{part.matchStart, matchLength, match}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    // The line moves left so that the match ends within three quarters of the room.
    const qreal matchEnd = line.cursorToX(part.matchStart + matchLength);
    const qreal shift = std::max<qreal>(0, matchEnd - text.width() * 3 / 4);
    painter->setPen(option.palette.color(textRole));
    painter->setClipRect(text, Qt::IntersectClip);
    layout.draw(painter,
                QPointF(text.left() - shift, text.top() + (text.height() - line.height()) / 2));
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.averageCharWidth() * (CaptionCharacters + 60), metrics.height() + Padding};
}
