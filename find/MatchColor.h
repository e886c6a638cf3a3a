#pragma once

#include <QColor>

// The background of a search's matches, in the search window's rows and in
// the catalogue view: light amber, unlike the selection's blue.
inline const QColor MatchBackground(255, 236, 140);
