#pragma once

#include "SearchResults.h"

#include <QString>

// The search window's line above its results, in the program's words: how
// many matches in how many groups, whether the search goes on, and which
// catalogues it could not read or read only in part. Empty with no search.
QString searchCountLine(const fosdat::SearchCount &count);
