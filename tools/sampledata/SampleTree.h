#pragma once

#include "Catalogue.h"
#include "CatalogueWriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace fosdat::sampledata
{

// One file of the sample data set: its path below the output directory,
// with forward slashes ("dat/BD/FORAM"), and its bytes.
struct SampleFile {
    QString path;
    QByteArray bytes;
};

// The catalogues of the sample data set, one per row of the group table,
// as sampleTree() writes them.
QList<Catalogue> sampleCatalogues();

// The whole sample data set: the 34 catalogues, the three reference lists
// and the click sound, and beside dat/ the truth about its genus entries
// (Truth.h). The same bytes on every call.
QList<SampleFile> sampleTree();

// One catalogue in the style of the largest group's, of `genera` genera,
// for measuring how the viewer copes with far larger files: its content, and
// its file with entries formatted as `formatting` says.
inline constexpr int MaxScaledGenera = 1'000'000;
Catalogue scaledCatalogueContent(int genera);
QByteArray scaledCatalogue(int genera, EntryFormatting formatting = EntryFormatting::Plain);

// Writes each file below `directory`, creating folders as needed. Gives an
// empty string on success, otherwise what went wrong.
QString writeFiles(const QString &directory, const QList<SampleFile> &files);

} // namespace fosdat::sampledata
