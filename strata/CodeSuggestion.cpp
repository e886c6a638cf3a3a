#include "CodeSuggestion.h"

#include "TimeScale.h"

#include <QVarLengthArray>
#include <algorithm>

namespace fosdat::strata
{

namespace
{

constexpr qsizetype MaxLength = 40; // longer codes are no one's spelling of a stage

// Edits between two codes, letter case aside (optimal string alignment), or
// more than `limit` as soon as it cannot be within it.
int distance(QStringView a, QStringView b, int limit)
{
    if (std::abs(a.size() - b.size()) > limit)
        return limit + 1;
    const qsizetype n = b.size();
    QVarLengthArray<int, MaxLength + 1> before(n + 1), previous(n + 1), current(n + 1);
    for (qsizetype j = 0; j <= n; ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        int best = current[0];
        const QChar ca = a[i - 1].toCaseFolded();
        for (qsizetype j = 1; j <= n; ++j) {
            const QChar cb = b[j - 1].toCaseFolded();
            int d = std::min(
                {previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca == cb ? 0 : 1)});
            if (i > 1 && j > 1 && ca == b[j - 2].toCaseFolded() && a[i - 2].toCaseFolded() == cb)
                d = std::min(d, before[j - 2] + 1);
            current[j] = d;
            best = std::min(best, d);
        }
        if (best > limit)
            return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[n];
}

} // namespace

const Unit *suggestUnit(const TimeScale &scale, QStringView code, QStringView period)
{
    code = code.trimmed();
    if (code.isEmpty() || code.size() > MaxLength)
        return nullptr;
    const Period *written = period.isEmpty() ? nullptr : scale.period(period);
    const Unit *best = nullptr;
    int bestScore = 0;
    for (const Unit &unit : scale.units()) {
        if (unit.code.size() > MaxLength)
            continue;
        const int limit = int(std::min<qsizetype>(2, std::max(code.size(), unit.code.size()) / 4));
        const int d = distance(code, unit.code, limit);
        if (d > limit)
            continue;
        // Twice the edits, one less where the unit may be written there.
        const int score = 2 * d + (written && scale.belongsTo(unit, *written) ? 0 : 1);
        if (!best || score < bestScore) {
            best = &unit;
            bestScore = score;
        }
    }
    return best;
}

QStringView periodBefore(QStringView textBefore)
{
    qsizetype end = textBefore.size();
    while (end > 0 && (textBefore[end - 1].isSpace() || textBefore[end - 1] == u'('))
        --end;
    qsizetype start = end;
    while (start > 0 && textBefore[start - 1].isLetter())
        --start;
    return textBefore.sliced(start, end - start);
}

} // namespace fosdat::strata
