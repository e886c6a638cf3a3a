#include "SearchResultDelegate.h"

#include "MatchColor.h"
#include "SearchResultsModel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

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
// How far a cut line's shown part may begin later to begin with a word.
constexpr int WordSearch = 12;

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

// The start kept of a cut line, and an ellipsis: within `room`, cut itself
// where it is wider.
QString keptStart(const QString &head, const QFontMetrics &metrics, int room)
{
    const QString whole = oneLine(head) + Gap;
    if (metrics.horizontalAdvance(whole) <= room)
        return whole;
    return metrics.elidedText(oneLine(head), Qt::ElideRight, room) + u' ';
}

// Where a line moved `shift` to the left begins: at the start of a
// character, so that no part of one shows at the edge, and at the start of a
// word where one begins a little further on; never past the match's start.
qreal wordStartAfter(const QString &text, const QTextLine &row, qreal shift, qreal from,
                     int matchStart)
{
    int position = row.xToCursor(shift, QTextLine::CursorBetweenCharacters);
    if (row.cursorToX(position) < shift)
        ++position;
    for (int word = position; word < matchStart && word < position + WordSearch; ++word) {
        if (word > 0 && text.at(word - 1).isSpace()) {
            position = word;
            break;
        }
    }
    return std::max(from, row.cursorToX(std::min(position, matchStart)));
}

// Relative luminance and contrast as the Web Content Accessibility Guidelines
// define them.
double luminance(const QColor &color)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
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
    const int captionWidth =
        std::min(metrics.averageCharWidth() * CaptionCharacters, option.rect.width() / 3);
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
    qreal shownFrom = 0; // where in the part the shown text may begin
    if ((part.from > 0 || shift > 0) && head > 0 && head <= matchStart) {
        const QString start = keptStart(line.left(head), metrics, text.width() / 2);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, start);
        text.setLeft(text.left() + metrics.horizontalAdvance(start));
        shownFrom = head > part.from ? row.cursorToX(head - part.from) : 0;
        shift = std::max(shownFrom, matchEnd - text.width() * 3 / 4);
    }
    if (shift > 0)
        shift = wordStartAfter(part.text, row, shift, shownFrom, part.matchStart);
    painter->setClipRect(text, Qt::IntersectClip);
    layout.draw(painter,
                QPointF(text.left() - shift, text.top() + (text.height() - row.height()) / 2));
    painter->restore();
}

QPalette SearchResultDelegate::legiblePalette(QPalette palette)
{
    constexpr double LeastContrast = 4.5;
    constexpr int Steps = 30; // of 10 % each: from any colour to black or white
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor text = palette.color(group, QPalette::HighlightedText);
        QColor background = palette.color(group, QPalette::Highlight);
        const bool darken = luminance(text) > luminance(background);
        for (int step = 0; step < Steps && contrast(text, background) < LeastContrast; ++step)
            background = darken ? background.darker(110) : background.lighter(110);
        palette.setColor(group, QPalette::Highlight, background);
    }
    return palette;
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.averageCharWidth() * (CaptionCharacters + 60), metrics.height() + Padding};
}
