#pragma once

#include "SearchResults.h"

#include <QByteArray>
#include <QList>

namespace fosdat
{

// Listed matches as CSV for a spreadsheet or a script, as every table of the
// program is written (strata::CsvWriter). The columns: group, genus, text
// (the whole catalogue line, a line break within it kept), range and
// references, these three as the genus entry of the line reads them
// (the same as fosdat-ranges writes), empty for a line that is no entry.
QByteArray resultsCsv(const QList<ResultLine> &lines);

} // namespace fosdat
