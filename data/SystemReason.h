#pragma once

#include <QString>

namespace fosdat::data
{

// Why a file operation failed, in Russian, for a message to the user: the
// common errno values (no permission, no space, a file too large, a
// read-only file system, no such folder, a folder in place of a file) get
// their own words; the rest name the system's error.
QString systemReason(int errorNumber);

} // namespace fosdat::data
