#pragma once

#include <QString>

namespace fosdat::sampledata
{

class Random;

// The author and year of a genus as catalogues cite them: "Walcott, 1912",
// "Cooper & Grant, 1974", "Hall et al., 1883", "(Barrande, 1852)". Real
// authors' names hold letters outside the catalogues' code page (Müller,
// Kříž, Łuczyński, Bøggild): about one name in eight here.
QString authorAndYear(Random &random);

} // namespace fosdat::sampledata
