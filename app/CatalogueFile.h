#pragma once

#include "RtfRecord.h"

#include <QString>
#include <memory>

// Reads the catalogue file at `path` whole, with its formatting; null when
// the file is missing, not a readable regular file of the data set's size,
// or not RTF. `progress` is told how far the reading has come, and may stop it.
std::shared_ptr<const fosdat::rtf::ContentRecord>
readCatalogue(const QString &path, const fosdat::rtf::ReadProgress &progress = {});

// The last line of a text shown in part where how much is shown is not known.
inline constexpr QStringView PartShownNotice = u"Файл слишком велик: показана его часть";
