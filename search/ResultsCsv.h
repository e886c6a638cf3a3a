#pragma once

#include "SearchResults.h"

#include <QByteArray>
#include <QList>

namespace fosdat
{

// Listed matches as CSV for a spreadsheet or a script: UTF-8 without a
// byte-order mark, a header row, CRLF line ends, a field that holds a comma,
// a quote or a line end in double quotes (its quotes doubled). The columns:
// group, genus, text (the whole catalogue line, a line break within it kept),
// range and references as the line writes them (readGenusLine()), empty
// where it gives none.
QByteArray resultsCsv(const QList<ResultLine> &lines);

} // namespace fosdat
