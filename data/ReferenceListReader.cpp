#include "ReferenceListReader.h"

#include "DataFiles.h"

namespace fosdat::data
{

namespace
{

// Where single-byte text must be cut to keep within `budget`: the end of its
// last whole line within it, the budget's length into the first line when
// that one alone passes it, or nullopt when all of it fits. A line ends at
// "\r\n", "\r" or "\n", as a text document splits plain text into paragraphs.
std::optional<qsizetype> cutPoint(QByteArrayView text, const TextBudget &budget)
{
    qsizetype lines = 1, characters = 0, lineStart = 0, lastLineEnd = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (++lines > budget.lines)
                return i;
            lastLineEnd = i;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lineStart = i + 1;
        } else if (++characters > budget.characters || i - lineStart >= budget.lineCharacters) {
            return lastLineEnd >= 0 ? lastLineEnd : i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ReferenceListText> readReferenceList(const QString &path, const TextBudget &budget)
{
    // Each byte before the cut is a character or part of a line break of at
    // most two bytes: a longer file is cut within this many.
    const qsizetype enough = budget.characters + 2 * budget.lines + 2;
    const std::optional<QByteArray> bytes = readRegularFileStart(path, enough);
    if (!bytes)
        return std::nullopt;
    const std::optional<qsizetype> cut = cutPoint(*bytes, budget);
    if (!cut)
        return ReferenceListText{decodeAnsi(*bytes), false};
    return ReferenceListText{decodeAnsi(QByteArrayView(*bytes).first(*cut)), true};
}

} // namespace fosdat::data
