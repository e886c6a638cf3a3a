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
// The start of a line kept where it is cut: at most its first word, and at
// most this many characters.
constexpr int HeadCharacters = 40;
const QString Gap = QStringLiteral(" \u2026 ");

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\t' || c == QChar::LineSeparator)
            c = u' ';
    }
    return text;
}

// The part of the line around the match, on one row, from `from`.
struct LinePart {
    QString text;
    int from = 0;
    int matchStart = 0;
};

LinePart linePart(const QString &line, int matchStart, int matchLength)
{
    const int from = std::max(0, matchStart - Context);
    return {oneLine(line.mid(from, matchStart - from + matchLength + Context)), from,
            matchStart - from};
}

// Where the start kept of a cut line ends: after the genus the line names,
// or else its first word.
int headEnd(const QString &line, int genusEnd)
{
    if (genusEnd > 0)
        return std::min(genusEnd, HeadCharacters);
    int end = 0;
    while (end < line.size() && line.at(end).isSpace())
        ++end;
    while (end < line.size() && end < HeadCharacters && !line.at(end).isSpace())
        ++end;
    return end;
}

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
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
    const QColor textColor = option.palette.color(
        colorGroup(option), selected ? QPalette::HighlightedText : QPalette::Text);
    const QString line = index.data(SearchResultsModel::LineRole).toString();
    const int matchStart = index.data(SearchResultsModel::MatchStartRole).toInt();
    const int matchLength = index.data(SearchResultsModel::MatchLengthRole).toInt();
    const LinePart part = linePart(line, matchStart, matchLength);

    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(textColor);
    const QFontMetrics metrics(option.font);
    const int captionWidth = metrics.averageCharWidth() * CaptionCharacters;
    QRect text = option.rect.adjusted(Padding, 0, -Padding, 0);
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
    QTextLine row = layout.createLine();
    row.setLineWidth(1e6);
    layout.endLayout();

    // The line moves left so that the match ends within three quarters of
    // the room; its start then stays in front of an ellipsis.
    const qreal matchEnd = row.cursorToX(part.matchStart + matchLength);
    const int head = headEnd(line, index.data(SearchResultsModel::GenusEndRole).toInt());
    qreal shift = std::max<qreal>(0, matchEnd - text.width() * 3 / 4);
    if ((part.from > 0 || shift > 0) && head > 0 && head <= matchStart) {
        const int gapWidth = metrics.horizontalAdvance(Gap);
        const QString start = metrics.elidedText(oneLine(line.left(head)), Qt::ElideRight,
                                                 text.width() / 3 - gapWidth) +
                              Gap;
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, start);
        text.setLeft(text.left() + metrics.horizontalAdvance(start));
        const qreal headInPart = head > part.from ? row.cursorToX(head - part.from) : 0;
        shift = std::max(headInPart, matchEnd - text.width() * 3 / 4);
    }
    painter->setClipRect(text, Qt::IntersectClip);
    layout.draw(painter,
                QPointF(text.left() - shift, text.top() + (text.height() - row.height()) / 2));
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.averageCharWidth() * (CaptionCharacters + 60), metrics.height() + Padding};
}
