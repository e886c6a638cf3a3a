#pragma once

#include "SearchResults.h"
#include "TextMatcher.h"

class Fosdat;
class UserDialogs;

// Opens a place in a catalogue, for every window that names one (a result of
// the search window, a genus of the diversity window): the place's group is
// chosen as in the group list, and once its catalogue is shown the match of
// `matcher` there is selected in the middle of the view and highlighted, the
// view brought to the front. A file that could not be read leaves the
// catalogue shown before. A place past the part of a catalogue that the view
// shows is not there to select: `dialogs` says so, naming the line.
void openInCatalogue(Fosdat &window, UserDialogs &dialogs, const fosdat::SearchResultPlace &place,
                     const fosdat::TextMatcher &matcher);
