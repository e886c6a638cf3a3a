#pragma once

#include "CatalogueEntries.h"
#include "CatalogueTexts.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace fosdat::bench
{

// One RTF file the benchmarks run on, read into memory once.
struct Input {
    QString name; // the catalogue's file name, or the scale file's base name
    QString path;
    QByteArray bytes;
};

// A whole data set the search over every catalogue runs on: a folder that
// holds dat/.
struct DataSet {
    QString name; // "sample", or the folder's name
    QString dir;
};

// What the benchmarks run on: every catalogue of a sample data set, its
// largest one, any number of larger generated catalogues, and larger data sets.
struct Inputs {
    QString sampleDir;       // holds dat/
    QList<Input> catalogues; // dat/BD, in file-name order
    Input largest;
    QList<Input> scaled;
    QList<DataSet> dataSets; // the sample data set first

    // The largest catalogue, then the scale files: the inputs of the
    // per-file benchmarks.
    QList<Input> perFile() const { return QList<Input>{largest} + scaled; }
};

// Reads the catalogues below `sampleDir`/dat/BD (every file but the .txt
// reference lists) and the scale files; a scale argument that is a folder is
// a data set instead. Gives an error message in `error` when a file cannot be
// read or the directory holds no catalogue.
Inputs loadInputs(const QString &sampleDir, const QStringList &scaleFiles, QString *error);

// Every catalogue of `set` as the catalogue model reads them, and their genus
// entries in the shipped time scale: what the windows read.
catalogue::CataloguesPtr readCatalogues(const DataSet &set);
catalogue::EntriesPtr readEntries(const catalogue::CataloguesPtr &texts);

// "184.3 KB", "18.4 MB": sizes for the console.
QString humanSize(qint64 bytes);

} // namespace fosdat::bench
