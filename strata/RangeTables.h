#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace fosdat::strata
{

class Bins;
class GenusEntry;
class StageCounts;
class TimeScale;

// The counts as tables for other programs: CSV as RFC 4180 has it (UTF-8, a
// header row, CRLF line ends, fields with a comma, quote or line end quoted),
// empty cells for undefined values.

// One row for each entry the counts admitted, in their order. The first
// columns: group, genus, range, first_as_written, last_as_written,
// first_stage, last_stage, base_ma, top_ma, extant, uncertain, status
// ("counted" or the key of the reason it is not); then reason (in words),
// line, family, order, class, author, references and suggestion (for an
// unknown stage code, the known code it most resembles; never applied). `groups` names the
// groups by row.
QByteArray genusTable(const QList<GenusEntry> &entries, const StageCounts &counts,
                      const TimeScale &scale, const QStringList &groups);

// One row for each stage, oldest first: stage, name, base_ma, top_ma, genera
// (range-through diversity), first_appearances, last_appearances; then
// period, the four classes, the boundary crossers, proportional originations
// and extinctions and the per-capita rates, per stage and per million years.
QByteArray stageTable(const StageCounts &counts, const TimeScale &scale);

// One row for each bin of counts made on `bins`, oldest first: stage (the
// bin's code), units (the codes of the scale's units within it), chart_stages
// (the chart's stages it spans), then the columns of stageTable() from name
// on, whose meaning is the same for a bin, and the standard errors of the
// per-capita rates, origination_rate_se and extinction_rate_se.
QByteArray binTable(const StageCounts &counts, const TimeScale &scale, const Bins &bins);

} // namespace fosdat::strata
