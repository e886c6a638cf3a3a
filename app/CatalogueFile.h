#pragma once

#include <QString>
#include <QTextDocument>
#include <memory>

// Reads the catalogue file at `path` into a new document; null when the file
// is missing, not a readable regular file of the data set's size, or not RTF.
std::unique_ptr<QTextDocument> readCatalogue(const QString &path);
