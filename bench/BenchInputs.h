#pragma once

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

// What the benchmarks run on: every catalogue of a sample data set, its
// largest one, and any number of larger generated catalogues.
struct Inputs {
    QString sampleDir;       // holds dat/
    QList<Input> catalogues; // dat/BD, in file-name order
    Input largest;
    QList<Input> scaled;

    // The largest catalogue, then the scale files: the inputs of the
    // per-file benchmarks.
    QList<Input> perFile() const { return QList<Input>{largest} + scaled; }
};

// Reads the catalogues below `sampleDir`/dat/BD (every file but the .txt
// reference lists) and the scale files. Gives an error message in `error`
// when a file cannot be read or the directory holds no catalogue.
Inputs loadInputs(const QString &sampleDir, const QStringList &scaleFiles, QString *error);

// "184.3 KB", "18.4 MB": sizes for the console.
QString humanSize(qint64 bytes);

} // namespace fosdat::bench
