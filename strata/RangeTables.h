#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <initializer_list>
#include <optional>

class QIODevice;

namespace fosdat::strata
{

class Bins;
class GenusEntry;
class StageCounts;
class TimeScale;

// The one writer of the program's CSV (the tables below, the search
// window's export): RFC 4180 in UTF-8 without a byte-order mark, CRLF at the
// end of each row, a field that holds a comma, a quote or a line end in
// double quotes, its quotes doubled. A line break within a field (LF, or a
// line or paragraph separator) is written as LF; a tab stays a tab; every
// other control character (a carriage return, NUL, the C0 and C1 controls,
// DEL) is written as a space, as the reader of the entries takes it for a
// blank: none reaches the file raw. Rows go to the device as they are made,
// a few kilobytes at a time, so a table of any size takes no more memory
// than its longest row.
class CsvWriter
{
public:
    explicit CsvWriter(QIODevice &out) : m_out(out) {}

    void field(QStringView text);
    void fields(std::initializer_list<QStringView> texts);
    // Empty for no value; the shortest form that reads back as the same double.
    void number(std::optional<double> value);
    void endRow();
    // Writes what is left; false when the device did not take everything.
    bool finish();

private:
    void flush();

    QIODevice &m_out;
    QString m_pending;
    bool m_rowStart = true;
    bool m_failed = false;
};

// The counts as tables for other programs, written as they are made, with
// empty cells for undefined values; each gives whether the device took all.

// A column after a table's own, a value for each of its rows: the same
// measure of another selection of entries, say.
struct ExtraColumn {
    QString name;
    QList<std::optional<double>> values;
};

// One row for each entry the counts admitted, in their order. The first
// columns: group, genus, range, first_as_written, last_as_written,
// first_stage, last_stage, base_ma, top_ma, extant, uncertain, status
// ("counted" or the key of the reason it is not); then reason (in words),
// line, family, order, class, author, references, family_uncertain (1
// where the entry writes its family with a "?"), class_latin and suggestion
// (for an unknown stage code, the known code it most resembles; never
// applied). `groups` names the groups by row.
bool writeGenusTable(QIODevice &out, const QList<GenusEntry> &entries, const StageCounts &counts,
                     const TimeScale &scale, const QStringList &groups);

// One row for each stage, oldest first: stage, name, base_ma, top_ma, genera
// (range-through diversity), first_appearances, last_appearances; then
// period, the four classes, the boundary crossers, proportional originations
// and extinctions and the per-capita rates, per stage and per million years.
bool writeStageTable(QIODevice &out, const StageCounts &counts, const TimeScale &scale,
                     const QList<ExtraColumn> &extra = {});

// One row for each bin of counts made on `bins`, oldest first: stage (the
// bin's code), units (the codes the counted entries write whose ages lie
// within it), chart_stages (the chart's stages it lies in), then the columns of the stage table
// from name on, whose meaning is the same for a bin, and the standard errors of the per-capita
// rates, origination_rate_se and extinction_rate_se.
bool writeBinTable(QIODevice &out, const StageCounts &counts, const TimeScale &scale,
                   const Bins &bins, const QList<ExtraColumn> &extra = {});

// What `write` writes to a device, as bytes in memory.
QByteArray inMemory(const std::function<void(QIODevice &)> &write);

// The same tables as bytes in memory.
QByteArray genusTable(const QList<GenusEntry> &entries, const StageCounts &counts,
                      const TimeScale &scale, const QStringList &groups);
QByteArray stageTable(const StageCounts &counts, const TimeScale &scale,
                      const QList<ExtraColumn> &extra = {});
QByteArray binTable(const StageCounts &counts, const TimeScale &scale, const Bins &bins,
                    const QList<ExtraColumn> &extra = {});

} // namespace fosdat::strata
