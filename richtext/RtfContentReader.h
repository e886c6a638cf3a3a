#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

namespace fosdat::rtf
{

class ContentTarget;

// Told now and then, while the content is read, how many of its input bytes
// have been read; returning false stops the reading there, and the target
// holds what was read until then.
using ReadProgress = std::function<bool(qsizetype bytesRead)>;

// What became of the text a reading was given.
struct ContentCounts {
    // The content ends before the text does: the view could not lay out more.
    bool cut = false;
    // Some text is in the plain format past the budget of format changes.
    bool plainPast = false;
    // Characters of text (UTF-16 units; paragraph ends, pictures and the
    // reader's word breaks not counted) the target holds, and the file.
    qint64 shownCharacters = 0;
    qint64 characters = 0;
};

// The bytes from "{\rtf" on (after optional white space), or nothing when
// they are not RTF.
std::optional<QByteArrayView> rtfStart(QByteArrayView bytes);

// Reads RTF bytes (from rtfStart()) into `target`, its text, formats and
// pictures, every reading alike. Truncated input and unbalanced braces are
// read as far as they go. With a `layoutHeight`, the height in pixels a view
// can lay out, the content ends where the view cannot lay out more
// (RtfLimits.h), and the reading goes on to the end all the same, to count
// the characters left out; without one, nothing is cut.
ContentCounts readContent(QByteArrayView rtf, ContentTarget &target,
                          std::optional<qreal> layoutHeight, const ReadProgress &progress = {});

} // namespace fosdat::rtf
