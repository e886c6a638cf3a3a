#pragma once

#include "RtfLimits.h"
#include "RtfWordBreaks.h"

#include <QByteArrayView>
#include <QString>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <optional>

namespace fosdat::rtf
{

enum class ReadError {
    None,
    NotRtf, // the bytes do not begin with "{\rtf" (after optional white space)
};

struct ReadResult {
    std::unique_ptr<QTextDocument> document; // set exactly when error == None
    ReadError error = ReadError::None;
    // The document ends before the text does: the view could not lay out more.
    bool cut = false;
    // The document holds text past the budget of format changes, in the
    // plain format: what the file says of its look there is not kept.
    bool plainPast = false;
    // Characters of text (UTF-16 units; paragraph ends, pictures and the
    // reader's word breaks not counted) the document holds, and the file.
    qint64 shownCharacters = 0;
    qint64 characters = 0;

    bool ok() const { return error == ReadError::None; }
};

// Told now and then, while read() builds a document, how many of its input
// bytes have been read; returning false stops the reading there, and the
// document holds what was read until then.
using ReadProgress = std::function<bool(qsizetype bytesRead)>;

// The text of a document's last paragraph when the document is cut, from
// the characters it shows and those of the file.
using ClosingLine = std::function<QString(qint64 shownCharacters, qint64 characters)>;

struct ReadOptions {
    // The height in pixels, at the document's own sizes, that the view it is
    // meant for can lay out: the document ends where its estimated height
    // would pass it. A view that lays documents out larger takes less.
    qreal layoutHeight = limits::QtLayoutHeight;
    ReadProgress progress;
    // Without one, a cut document simply ends.
    ClosingLine closingLine;
};

// Reads RTF bytes into a new document. Truncated input and unbalanced braces
// are read as far as they go; only input that is not RTF at all fails. The
// document ends where the view cannot lay out more (RtfLimits.h); the reading
// goes on to the end all the same, to count the characters left out.
ReadResult read(QByteArrayView bytes, const ReadOptions &options = {});

// Reads only the text, all of it: as read() would put it in the document's
// blocks (a line break within a paragraph as U+2028, as there; the same
// paragraphs broken, the same word breaks put in) but never cut, joined by
// '\n', with pictures left out; nothing when the bytes are not RTF. Footnotes
// follow the text as in the document. Much faster than read(), as no
// document is built; bounded by the size of the input alone.
std::optional<QString> readText(QByteArrayView bytes);

} // namespace fosdat::rtf
