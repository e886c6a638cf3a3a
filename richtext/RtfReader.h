#pragma once

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

    bool ok() const { return error == ReadError::None; }
};

// Told now and then, while read() builds a document, how many of its input
// bytes have been read; returning false stops the reading there, and the
// document holds what was read until then.
using ReadProgress = std::function<bool(qsizetype bytesRead)>;

// Reads RTF bytes into a new document. Truncated input and unbalanced braces
// are read as far as they go; only input that is not RTF at all fails.
ReadResult read(QByteArrayView bytes, const ReadProgress &progress = {});

// Reads only the text, as read() would put it in the document's blocks,
// joined by '\n', with pictures left out; nothing when the bytes are not
// RTF. Much faster than read(), as no document is built.
std::optional<QString> readText(QByteArrayView bytes);

} // namespace fosdat::rtf
