#pragma once

#include "RtfRecord.h"

#include <QString>
#include <memory>

using CatalogueRecord = std::shared_ptr<const fosdat::rtf::ContentRecord>;

// Reads the catalogue file at `path` whole, with its formatting; null when
// the file is missing, not a readable regular file of the data set's size,
// or not RTF. `progress` is told how far the reading has come, and may stop it.
CatalogueRecord readCatalogue(const QString &path, const fosdat::rtf::ReadProgress &progress = {});

// The beginning of the catalogue file at `path` (rtf::readRecordStart()),
// read from no more than the file's first megabyte: the paragraphs within its
// first `characters` characters, or the whole catalogue where it is no
// longer. Null where readCatalogue() would give null, or where that part of
// the file holds no paragraph to show.
CatalogueRecord readCatalogueStart(const QString &path, qsizetype characters);

// The last line of a text shown in part where how much is shown is not known.
inline constexpr QStringView PartShownNotice = u"Файл слишком велик: показана его часть";
