#pragma once

#include <QString>

namespace fosdat::sampledata
{

class Random;

// A literature list with references numbered `first` to `last`, one to a
// line, each line ended by CR LF: Russian papers and books as Russian
// bibliographies cite them, the others in the Latin-letter style,
// "123. Smith J.A. 1975. Title // Journal. Vol. 3. P. 12-34.".
QString referenceList(Random &random, int first, int last);

} // namespace fosdat::sampledata
