#include "RangeTables.h"

#include "Bins.h"
#include "GenusEntries.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <QBuffer>
#include <QLocale>
#include <algorithm>

namespace fosdat::strata
{

using namespace Qt::StringLiterals;

namespace
{

// Rows are handed to the device once this many characters wait.
constexpr qsizetype WriteChunk = 16 * 1024;

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Control characters but the tab and line breaks.
bool isBlankControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n') || (c >= 0x7F && c <= 0x9F);
}

bool needsQuotes(char16_t c)
{
    return c == u',' || c == u'"' || isLineBreak(c);
}

} // namespace

void CsvWriter::field(QStringView text)
{
    if (!m_rowStart)
        m_pending += u',';
    m_rowStart = false;
    const bool quoted =
        std::any_of(text.begin(), text.end(), [](QChar c) { return needsQuotes(c.unicode()); });
    const bool plain = !quoted && std::none_of(text.begin(), text.end(),
                                               [](QChar c) { return isBlankControl(c.unicode()); });
    if (plain) {
        m_pending += text;
        return;
    }
    if (quoted)
        m_pending += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            m_pending += u"\"\"";
        else if (isLineBreak(c.unicode()))
            m_pending += u'\n';
        else
            m_pending += isBlankControl(c.unicode()) ? QChar(u' ') : c;
    }
    if (quoted)
        m_pending += u'"';
}

void CsvWriter::fields(std::initializer_list<QStringView> texts)
{
    for (const QStringView text : texts)
        field(text);
}

void CsvWriter::number(std::optional<double> value)
{
    field(value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString());
}

void CsvWriter::endRow()
{
    m_pending += u"\r\n";
    m_rowStart = true;
    if (m_pending.size() >= WriteChunk)
        flush();
}

bool CsvWriter::finish()
{
    flush();
    return !m_failed;
}

// At a row's end: a field, and so a surrogate pair, is never split.
void CsvWriter::flush()
{
    if (m_pending.isEmpty())
        return;
    const QByteArray bytes = m_pending.toUtf8();
    m_failed |= m_out.write(bytes) != bytes.size();
    m_pending.resize(0); // keeps its capacity for the next rows
}

namespace
{

QString flag(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

void genusRow(CsvWriter &csv, const GenusEntry &entry, Reason reason, const TimeScale &scale,
              const QStringList &groups)
{
    const Placement &p = entry.placement;
    const bool placed = p.isPlaced();
    const auto stage = [&](int index) {
        return placed ? QStringView(scale.stages().at(index).code) : QStringView();
    };
    csv.fields({groups.value(entry.group), entry.genus(), entry.range(), entry.view(p.firstWritten),
                p.extant ? u"Rec" : entry.view(p.lastWritten), stage(p.first), stage(p.last)});
    csv.number(placed ? std::optional(scale.stages().at(p.first).base) : std::nullopt);
    csv.number(placed ? std::optional(p.extant ? 0.0 : scale.stages().at(p.last).top)
                      : std::nullopt);
    const Unit *suggested = reasonSuggestion(entry, reason, scale);
    csv.fields({flag(p.extant), flag(p.uncertain), reasonKey(reason),
                reason == Reason::None
                    ? QString()
                    : describeReason(reason, reasonCode(entry, reason), suggested),
                QString::number(entry.line), entry.family(), entry.order(), entry.className(),
                entry.author(), entry.references(), flag(entry.familyUncertain()),
                entry.classLatin(), suggested ? QStringView(suggested->code) : QStringView()});
    csv.endRow();
}

} // namespace

bool writeGenusTable(QIODevice &out, const QList<GenusEntry> &entries, const StageCounts &counts,
                     const TimeScale &scale, const QStringList &groups)
{
    CsvWriter csv(out);
    csv.fields({u"group",           u"genus",       u"range",      u"first_as_written",
                u"last_as_written", u"first_stage", u"last_stage", u"base_ma",
                u"top_ma",          u"extant",      u"uncertain",  u"status",
                u"reason",          u"line",        u"family",     u"order",
                u"class",           u"author",      u"references", u"family_uncertain",
                u"class_latin",     u"suggestion"});
    csv.endRow();
    // Both lists are in the entries' order: merged, the rows are too.
    const QList<int> &counted = counts.counted();
    const QList<StageCounts::NotCounted> &skipped = counts.notCounted();
    qsizetype c = 0;
    qsizetype s = 0;
    while (c < counted.size() || s < skipped.size()) {
        if (s == skipped.size() || (c < counted.size() && counted[c] < skipped[s].entry)) {
            genusRow(csv, entries.at(counted[c++]), Reason::None, scale, groups);
        } else {
            genusRow(csv, entries.at(skipped[s].entry), skipped[s].reason, scale, groups);
            ++s;
        }
    }
    return csv.finish();
}

namespace
{

constexpr std::initializer_list<QStringView> CountColumns{u"name",
                                                          u"base_ma",
                                                          u"top_ma",
                                                          u"genera",
                                                          u"first_appearances",
                                                          u"last_appearances",
                                                          u"period",
                                                          u"single_stage",
                                                          u"first_crossing_top",
                                                          u"crossing_base_last",
                                                          u"range_through",
                                                          u"base_crossers",
                                                          u"top_crossers",
                                                          u"proportional_origination",
                                                          u"proportional_extinction",
                                                          u"origination_rate",
                                                          u"extinction_rate",
                                                          u"origination_rate_per_myr",
                                                          u"extinction_rate_per_myr"};

// The columns from "name" on of one stage or bin: stages `first` to `last`
// of the scale, counted as row `i` of the counts.
// The columns of a stage's or bin's row from its name on.
void countRow(CsvWriter &csv, const StageCounts &counts, const TimeScale &scale, int i,
              const Bin &bin)
{
    csv.field(bin.name);
    csv.number(bin.base);
    csv.number(bin.top);
    for (Count count : {Count::Genera, Count::FirstAppearances, Count::LastAppearances})
        csv.number(counts.count(i, count));
    csv.field(joinedNames(scale.stages().at(bin.first).period, scale.stages().at(bin.last).period));
    for (Count count : {Count::SingleStage, Count::FirstCrossingTop, Count::CrossingBaseLast,
                        Count::RangeThrough, Count::BaseCrossers, Count::TopCrossers})
        csv.number(counts.count(i, count));
    for (Rate rate :
         {Rate::ProportionalOrigination, Rate::ProportionalExtinction, Rate::Origination,
          Rate::Extinction, Rate::OriginationPerMyr, Rate::ExtinctionPerMyr})
        csv.number(counts.rate(i, rate));
}

} // namespace

namespace
{

void extraHeaders(CsvWriter &csv, const QList<ExtraColumn> &extra)
{
    for (const ExtraColumn &column : extra)
        csv.field(column.name);
    csv.endRow();
}

void extraCells(CsvWriter &csv, const QList<ExtraColumn> &extra, int row)
{
    for (const ExtraColumn &column : extra)
        csv.number(column.values.value(row));
    csv.endRow();
}

} // namespace

bool writeStageTable(QIODevice &out, const StageCounts &counts, const TimeScale &scale,
                     const QList<ExtraColumn> &extra)
{
    CsvWriter csv(out);
    csv.field(u"stage");
    csv.fields(CountColumns);
    extraHeaders(csv, extra);
    for (int i = 0; i < counts.stageCount(); ++i) {
        const Stage &stage = scale.stages().at(i);
        csv.field(stage.code);
        countRow(csv, counts, scale, i, {stage.code, stage.name, i, i, stage.base, stage.top});
        extraCells(csv, extra, i);
    }
    return csv.finish();
}

bool writeBinTable(QIODevice &out, const StageCounts &counts, const TimeScale &scale,
                   const Bins &bins, const QList<ExtraColumn> &extra)
{
    CsvWriter csv(out);
    csv.fields({u"stage", u"units", u"chart_stages"});
    csv.fields(CountColumns);
    csv.fields({u"origination_rate_se", u"extinction_rate_se"});
    extraHeaders(csv, extra);
    for (int i = 0; i < counts.stageCount(); ++i) {
        const Bin &bin = bins.bins().at(i);
        csv.fields({bin.code, bins.unitsIn(scale, i), bins.stagesIn(scale, i)});
        countRow(csv, counts, scale, i, bin);
        csv.number(counts.rateError(i, Rate::Origination));
        csv.number(counts.rateError(i, Rate::Extinction));
        extraCells(csv, extra, i);
    }
    return csv.finish();
}

QByteArray inMemory(const std::function<void(QIODevice &)> &write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return bytes;
}

QByteArray genusTable(const QList<GenusEntry> &entries, const StageCounts &counts,
                      const TimeScale &scale, const QStringList &groups)
{
    return inMemory([&](QIODevice &out) { writeGenusTable(out, entries, counts, scale, groups); });
}

QByteArray stageTable(const StageCounts &counts, const TimeScale &scale,
                      const QList<ExtraColumn> &extra)
{
    return inMemory([&](QIODevice &out) { writeStageTable(out, counts, scale, extra); });
}

QByteArray binTable(const StageCounts &counts, const TimeScale &scale, const Bins &bins,
                    const QList<ExtraColumn> &extra)
{
    return inMemory([&](QIODevice &out) { writeBinTable(out, counts, scale, bins, extra); });
}

} // namespace fosdat::strata
