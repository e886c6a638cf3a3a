#pragma once

#include "RtfContentReader.h"
#include "RtfLimits.h"
#include "RtfWordBreaks.h"

#include <QByteArrayView>
#include <QTextDocument>
#include <memory>

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

struct ReadOptions {
    // The height in pixels, at the document's own sizes, that the view it is
    // meant for can lay out: the document ends where its estimated height
    // would pass it. A view that lays documents out larger takes less.
    qreal layoutHeight = limits::QtLayoutHeight;
    // Told the bytes read of all those given, white space before "{\rtf" included.
    ReadProgress progress;
};

// Reads RTF bytes into a new document. Truncated input and unbalanced braces
// are read as far as they go; only input that is not RTF at all fails. The
// document ends where the view cannot lay out more (RtfLimits.h); the reading
// goes on to the end all the same, to count the characters left out.
ReadResult read(QByteArrayView bytes, const ReadOptions &options = {});

} // namespace fosdat::rtf
