#include "ReferenceParser.h"

#include <QRegularExpression>

namespace fosdat::data
{

namespace
{

// A parenthesised group of numbers without leading zeros, separated by a
// comma or semicolon with blanks around it, or by blanks alone. Blanks
// include the no-break space that word processors put after a comma.
const QRegularExpression &numberGroup()
{
    static const QRegularExpression expression(
        QStringLiteral(R"(\([\s\x{A0}]*[1-9]\d*(?:(?:[\s\x{A0}]*[,;][\s\x{A0}]*|[\s\x{A0}]+))"
                       R"([1-9]\d*)*[\s\x{A0}]*\))"));
    return expression;
}

const QRegularExpression &digits()
{
    static const QRegularExpression expression(QStringLiteral(R"(\d+)"));
    return expression;
}

// A line that starts with a number and a full stop followed by a blank or
// the line's end: "12. Smith", "  12.\tSmith", "1200."; not "12.5 mm".
const QRegularExpression &numberedLine()
{
    static const QRegularExpression expression(
        QStringLiteral(R"(^[ \t\x{A0}]*([1-9]\d*)\.(?=[ \t\x{A0}\r]|$))"),
        QRegularExpression::MultilineOption);
    return expression;
}

// The number written by `text`, or 0 when it is above MaxReferenceNumber.
int referenceNumber(QStringView text)
{
    if (text.size() > 4)
        return 0;
    const int value = text.toInt();
    return value <= MaxReferenceNumber ? value : 0;
}

// Appends the numbers of one parenthesised group, all or none.
void addGroup(QStringView group, qsizetype offset, QList<ReferenceMention> &mentions)
{
    QList<ReferenceMention> numbers;
    for (const QRegularExpressionMatch &match : digits().globalMatch(group)) {
        const int number = referenceNumber(match.capturedView());
        if (number == 0)
            return;
        numbers.append({offset + match.capturedStart(), match.capturedLength(), number});
    }
    mentions.append(numbers);
}

// The end of the last character of text[from, to) that is not a blank or a
// line end.
qsizetype endOfText(QStringView text, qsizetype from, qsizetype to)
{
    while (to > from && text[to - 1].isSpace())
        --to;
    return to;
}

} // namespace

QList<ReferenceMention> findReferenceNumbers(QStringView paragraph)
{
    QList<ReferenceMention> mentions;
    for (const QRegularExpressionMatch &match : numberGroup().globalMatch(paragraph))
        addGroup(match.capturedView(), match.capturedStart(), mentions);
    return mentions;
}

std::optional<ReferenceMention> referenceNumberAt(QStringView paragraph, qsizetype index)
{
    for (const ReferenceMention &mention : findReferenceNumbers(paragraph)) {
        if (index >= mention.position && index < mention.position + mention.length)
            return mention;
    }
    return std::nullopt;
}

QList<ReferenceEntry> splitReferenceList(QStringView list)
{
    QList<ReferenceEntry> entries;
    for (const QRegularExpressionMatch &match : numberedLine().globalMatch(list)) {
        const int number = referenceNumber(match.capturedView(1));
        if (number == 0 || (!entries.isEmpty() && number <= entries.last().number))
            continue;
        if (!entries.isEmpty()) {
            ReferenceEntry &last = entries.last();
            last.length = endOfText(list, last.position, match.capturedStart()) - last.position;
        }
        entries.append({number, match.capturedStart(1), 0});
    }
    if (!entries.isEmpty()) {
        ReferenceEntry &last = entries.last();
        last.length = endOfText(list, last.position, list.size()) - last.position;
    }
    return entries;
}

} // namespace fosdat::data
