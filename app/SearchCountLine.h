#pragma once

#include "SearchResults.h"

#include <QString>

// The search window's line above its results, in the program's words: how
// many matches in how many groups, whether the search goes on, which
// catalogues it could not read, and which it read only in part, with how
// much of each it left out. Empty with no search.
QString searchCountLine(const fosdat::SearchCount &count);
