#pragma once

#include <QSet>
#include <QString>
#include <QStringView>
#include <span>

namespace fosdat::sampledata
{

class Random;

// Invents Latin-looking genus names from Greek and Latin combining forms:
// a prefix, up to a few middle stems and an ending typical of the animal
// group ("Acanthogyroceras"). Every name it hands out is new.
class GenusNames
{
public:
    // A name not handed out before, ending in one of `endings`.
    QString next(Random &random, std::span<const QStringView> endings);

    qsizetype count() const { return m_taken.size(); }

private:
    QSet<QString> m_taken;
};

// The family name formed on a genus as its type ("Acanthoceras" gives
// "Acanthoceratidae").
QString familyName(QStringView genus);

} // namespace fosdat::sampledata
