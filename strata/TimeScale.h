#pragma once

#include "RangeTokens.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <algorithm>
#include <array>
#include <optional>

namespace fosdat::strata
{

// One interval that genera are counted in: a stage of the chart, oldest first.
struct Stage {
    QString code;    // "Camp"
    QString name;    // "кампанский"
    QString period;  // the period it belongs to, "K"
    QChar part;      // 'l', 'm' or 'u': lower, middle or upper part of its period; null if none
    double base = 0; // Ma
    double top = 0;

    double duration() const { return base - top; }
};

// A code a catalogue writes for a time: a stage's own code, or another code
// (a spelling variant, an older or regional unit) that names some stages.
struct Unit {
    QString code;
    QString name;
    int first = 0; // the stages it is counted in
    int last = 0;
    double base = 0; // its own ages, within those of its stages
    double top = 0;
};

// A period code and the periods of the stages it stands for: "K" for K, "T"
// for Tr, Pg and N.
struct Period {
    QString code;
    QString name;
    QStringList periods;
};

// Stages first to last, both included.
struct StageSpan {
    int first = 0;
    int last = 0;
};

// The stages in time order, the period codes, the codes of units and those of
// the present day. Read from text by readTimeScale(); immutable once read.
class TimeScale
{
public:
    const QString &version() const { return m_version; }
    const QList<Stage> &stages() const { return m_stages; }
    const QList<Unit> &units() const { return m_units; }
    const QList<Period> &periods() const { return m_periods; }
    const QStringList &presentCodes() const { return m_present; }

    // Looked up by code exactly as written; null if unknown. Letter case
    // counts: catalogues write codes capitalised, and in lower case the
    // same letters are words of the text around a range ("nor", "dan",
    // "ash", "apt") or a part of a period ("l", "m", "u"). A code in another
    // case gets a suggestion instead (suggestUnit), never a guess.
    const Unit *unit(QStringView code) const { return meaning(code).unit; }
    const Period *period(QStringView code) const { return meaning(code).period; }
    bool isPresent(QStringView code) const { return meaning(code).present; }
    // All that a code stands for, looked up once: a range reader asks it of
    // every word of a range.
    struct Meaning {
        const Unit *unit = nullptr;
        const Period *period = nullptr;
        bool present = false;
    };
    Meaning meaning(QStringView code) const
    {
        if (m_codes.isEmpty())
            return {};
        const CodeSlot &found = m_codes[slotOf(code)];
        if (!found.used) // most words asked are no code, and hold no soft hyphen
            return std::any_of(code.begin(), code.end(), tokens::isSoftHyphen)
                       ? meaningWithoutSoftHyphens(code)
                       : Meaning{};
        return {found.unit < 0 ? nullptr : &m_units[found.unit],
                found.period < 0 ? nullptr : &m_periods[found.period], found.present};
    }

    // The stage with this code, or -1.
    int stageIndex(QStringView code) const;

    // The stages a period code stands for, or only those of one part ('l',
    // 'm', 'u'): nullopt when they are not one run of stages ("T") or there
    // are none.
    std::optional<StageSpan> periodStages(const Period &period, QChar part = {}) const;

    // Whether a unit may be written under a period code: one of its stages
    // belongs to one of the code's periods.
    bool belongsTo(const Unit &unit, const Period &period) const;

    // The index of a unit in units(), of a pointer that unit() gave.
    int unitIndex(const Unit &unit) const { return int(&unit - m_units.constData()); }

private:
    friend class TimeScaleBuilder;
    void index();
    bool standsFor(const Period &period, int stage) const;
    std::optional<StageSpan> stagesOf(const Period &period, QChar part) const;

    QString m_version;
    QList<Stage> m_stages;
    QList<Unit> m_units;
    QList<Period> m_periods;
    QStringList m_present;
    // Every code, looked up for most words of every genus entry. A table of
    // its own rather than a QHash: a probe hashes a word in a few steps
    // (its length and first two and last two letters) and compares it
    // inline, where QHash's buckets cost more than the few letters
    // compared. Open addressing over a power of two at least twice the
    // codes, so that a word no code is meets an empty slot within a step
    // or two. The codes are views of those held above, which never change
    // once indexed.
    struct CodeSlot {
        QStringView code;
        bool used = false;
        int unit = -1; // indices into m_units and m_periods
        int period = -1;
        bool present = false;
    };
    // What a code written with soft hyphens means, which a word processor
    // keeps where a word may be broken ("Ca\u00admp"): what it means without
    // them.
    Meaning meaningWithoutSoftHyphens(QStringView code) const;

    static size_t codeHash(QStringView code)
    {
        const qsizetype n = code.size();
        if (n == 0)
            return 0;
        const char16_t *c = code.utf16();
        quint64 hash = quint64(c[0]) << 48 | quint64(c[n > 1 ? 1 : 0]) << 32 |
                       quint64(c[n > 2 ? n - 2 : 0]) << 16 | c[n - 1];
        hash ^= quint64(n) * 0x9e3779b97f4a7c15ULL;
        // Mixed, so that codes alike in their last letter lie apart.
        hash ^= hash >> 33;
        hash *= 0xff51afd7ed558ccdULL;
        return size_t(hash ^ (hash >> 33));
    }
    // The slot of `code`, or the empty slot where it would go.
    qsizetype slotOf(QStringView code) const
    {
        const size_t mask = size_t(m_codes.size()) - 1;
        for (size_t i = codeHash(code) & mask;; i = (i + 1) & mask) {
            const CodeSlot &slot = m_codes[qsizetype(i)];
            if (!slot.used || (slot.code.size() == code.size() &&
                               std::equal(code.begin(), code.end(), slot.code.begin())))
                return qsizetype(i);
        }
    }
    CodeSlot &addCode(QStringView code);
    QList<CodeSlot> m_codes;
    // Each stage's period, as an index into the names of the stages'
    // periods, and the names each period code stands for: a range's every
    // stage is checked against its period code. As many periods as a file
    // names: none shares another's place.
    QList<int> m_stagePeriod;
    QList<QList<int>> m_periodMembers;
    // By period: the stages of the whole period, then of its lower, middle
    // and upper part (periodStages()).
    QList<std::array<std::optional<StageSpan>, 4>> m_periodStages;
};

// A line of a time scale file that was not taken, and why.
struct ScaleError {
    int line = 0; // 1-based
    QString message;
};

struct ScaleReading {
    TimeScale scale;
    QList<ScaleError> errors; // of the user's text when there is one
};

// Reads a time scale file. Lines in error are reported and left out; a scale
// whose stages leave a gap or overlap is reported and left without stages.
ScaleReading readTimeScale(QStringView text);

// The shipped scale `shipped` extended or corrected by a user's file: a line
// with a code the shipped file has replaces that line, others are added; a
// version line is added to the shipped version. Errors are the user text's;
// where the user's stages would leave a gap or overlap, all of them are left
// out.
ScaleReading readTimeScale(QStringView shipped, QStringView user);

// The line of a time scale file that makes `code` another code for
// `unit`: "alias,CODE,NAME,FIRST,LAST,BASE,TOP", counted in the unit's
// stages, at its own ages. `code` must be one field: no comma, no line end.
QString aliasLine(const TimeScale &scale, const Unit &unit, QStringView code);

// The time scale compiled into the program, and its text.
const TimeScale &shippedTimeScale();
QString shippedTimeScaleText();

} // namespace fosdat::strata
