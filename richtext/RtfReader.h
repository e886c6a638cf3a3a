#pragma once

#include <QByteArrayView>
#include <QTextDocument>
#include <memory>

namespace rtf
{

enum class ReadError {
    None,
    NotRtf, // the bytes do not begin with "{\rtf" (after optional white space)
};

struct ReadResult {
    std::unique_ptr<QTextDocument> document; // set exactly when error == None
    ReadError error = ReadError::None;

    bool ok() const { return error == ReadError::None; }
};

// Reads RTF bytes into a new document. Truncated input and unbalanced braces
// are read as far as they go; only input that is not RTF at all fails.
ReadResult read(QByteArrayView bytes);

} // namespace rtf
