#pragma once

#include <QTextFormat>

namespace fosdat::rtf
{

// Marks the zero-width spaces the reader puts into over-long words so that
// lines can break there: they are not the file's text, and the writer leaves
// them out.
inline constexpr int WordBreakProperty = QTextFormat::UserProperty + 1;

} // namespace fosdat::rtf
