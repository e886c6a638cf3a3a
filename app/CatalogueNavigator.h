#pragma once

#include "SearchResults.h"
#include "TextMatcher.h"

class Fosdat;

// Opens a place in a catalogue, for every window that names one (a result of
// the search window, a genus of the diversity window): the place's group is
// chosen as in the group list, and once its catalogue is shown the match of
// `matcher` there is selected in the middle of the view and highlighted, the
// view brought to the front, wherever in the catalogue it lies. A file that
// could not be read leaves the catalogue shown before.
void openInCatalogue(Fosdat &window, const fosdat::SearchResultPlace &place,
                     const fosdat::TextMatcher &matcher);
