#include "GenusLine.h"

#include "ReferenceParser.h"

#include <algorithm>
#include <array>

namespace fosdat
{

namespace
{

// Latin headings begin with these words; no genus is named so.
constexpr auto HeadingWords =
    std::to_array<QStringView>({u"Class", u"Subclass", u"Superorder", u"Order", u"Suborder",
                                u"Superfamily", u"Family", u"Subfamily"});
// Names of family rank end so; no genus name does.
constexpr auto FamilyEndings = std::to_array<QStringView>({u"idae", u"inae", u"oidea"});
// A family named within an entry.
constexpr QStringView FamilyNote = u"сем.";
// Years of authorship lie within these; a range holds no such number.
constexpr int FirstYear = 1700;
constexpr int LastYear = 2099;

bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isAsciiLower(QChar c)
{
    return c >= u'a' && c <= u'z';
}

bool isAsciiDigit(QStringView line, qsizetype at)
{
    return at >= 0 && at < line.size() && line[at] >= u'0' && line[at] <= u'9';
}

// "†Aus" (extinct), "‡Aus", "*Aus", "?Aus" (placed with doubt).
bool isMarkBeforeName(QChar c)
{
    return c == u'\u2020' || c == u'\u2021' || c == u'*' || c == u'?';
}

bool isSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u';';
}

LineSpan trimmed(QStringView line, qsizetype from, qsizetype to)
{
    while (from < to && isSeparator(line[from]))
        ++from;
    while (to > from && isSeparator(line[to - 1]))
        --to;
    return {from, to - from};
}

// Past the last year in line[from, to) ("Ashby, 1975", "(Ashby & Dawes, 1975)")
// and a bracket that closes right after it, where more than separators
// follows it; `from` without one.
qsizetype afterLastYear(QStringView line, qsizetype from, qsizetype to)
{
    qsizetype after = from;
    for (qsizetype at = from; at + 4 <= to; ++at) {
        if (isAsciiDigit(line, at - 1) || isAsciiDigit(line, at + 4) ||
            !std::all_of(line.begin() + at, line.begin() + at + 4,
                         [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        const int year = line.mid(at, 4).toInt();
        const qsizetype end = at + 4 < to && line[at + 4] == u')' ? at + 5 : at + 4;
        if (year >= FirstYear && year <= LastYear && !trimmed(line, end, to).isEmpty())
            after = end;
    }
    return after;
}

// "сем. Acrorhabdamminidae", or the same in brackets, within line[from, to);
// an empty span at `to` without one.
LineSpan familyNote(QStringView line, qsizetype from, qsizetype to)
{
    for (qsizetype at = from; at + FamilyNote.size() <= to; ++at) {
        if ((at > 0 && line[at - 1].isLetter()) ||
            line.mid(at, FamilyNote.size()).compare(FamilyNote, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype end = at + FamilyNote.size();
        while (end < to && line[end].isSpace())
            ++end;
        while (end < to && line[end].isLetter())
            ++end;
        qsizetype start = at;
        if (start > from && line[start - 1] == u'(' && end < to && line[end] == u')') {
            --start;
            ++end;
        }
        return {start, end - start};
    }
    return {to, 0};
}

// The first list of reference numbers after `from`, from its first digit to
// its last.
LineSpan referencesAfter(QStringView line, qsizetype from)
{
    const QList<data::ReferenceMention> mentions = data::findReferenceNumbers(line);
    const auto first = std::find_if(mentions.begin(), mentions.end(), [from](const auto &mention) {
        return mention.position >= from;
    });
    if (first == mentions.end())
        return {line.size(), 0};
    const qsizetype close = line.indexOf(u')', first->position);
    auto last = first;
    while (last + 1 != mentions.end() && (last + 1)->position < close)
        ++last;
    return {first->position, last->position + last->length - first->position};
}

} // namespace

LineSpan genusName(QStringView line)
{
    qsizetype at = 0;
    while (at < line.size() && (line[at].isSpace() || isMarkBeforeName(line[at])))
        ++at;
    if (at + 1 >= line.size() || !isAsciiUpper(line[at]) || !isAsciiLower(line[at + 1]))
        return {};
    qsizetype end = at + 2;
    while (end < line.size() && isAsciiLower(line[end]))
        ++end;
    if (end < line.size() && (line[end].isLetterOrNumber() || line[end].isMark() ||
                              line[end] == u'.' || line[end] == u':'))
        return {};
    const QStringView name = line.sliced(at, end - at);
    if (std::find(HeadingWords.begin(), HeadingWords.end(), name) != HeadingWords.end() ||
        std::any_of(FamilyEndings.begin(), FamilyEndings.end(), [name](QStringView ending) {
            return name.size() > ending.size() && name.endsWith(ending);
        }))
        return {};
    return {at, end - at};
}

MatchRank rankOfMatch(LineSpan genus, qsizetype offset, qsizetype length)
{
    if (genus.isEmpty() || offset != genus.start || length > genus.length)
        return MatchRank::Elsewhere;
    return length == genus.length ? MatchRank::WholeName : MatchRank::NameStart;
}

GenusLine readGenusLine(QStringView line)
{
    GenusLine parts;
    parts.genus = genusName(line);
    if (parts.genus.isEmpty())
        return parts;
    parts.references = referencesAfter(line, parts.genus.end());
    // The range ends at the bracket that opens the references.
    const qsizetype to =
        parts.references.isEmpty() ? line.size() : line.lastIndexOf(u'(', parts.references.start);
    const qsizetype from = afterLastYear(line, parts.genus.end(), to);
    const LineSpan note = familyNote(line, from, to);
    parts.range = trimmed(line, from, note.start);
    if (parts.range.isEmpty())
        parts.range = trimmed(line, note.end(), to);
    return parts;
}

} // namespace fosdat
