#pragma once

#include "RtfReader.h"

#include <QString>
#include <QTextDocument>
#include <memory>

// Reads the catalogue file at `path` into a new document; null when the file
// is missing, not a readable regular file of the data set's size, or not RTF.
// `progress` is told how far the reading has come, and may stop it.
std::unique_ptr<QTextDocument> readCatalogue(const QString &path,
                                             const fosdat::rtf::ReadProgress &progress = {});
