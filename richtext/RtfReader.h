#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QTextDocument>
#include <QTextFormat>
#include <functional>
#include <memory>
#include <optional>

namespace fosdat::rtf
{

// The last paragraph of a document that was cut short: the file holds more
// than the caps of RtfLimits.h let a document show.
inline constexpr QStringView CutNotice = u"Файл слишком велик: показана его часть";

// Marks the zero-width spaces the reader puts into over-long words so that
// lines can break there: they are not the file's text, and the writer leaves
// them out.
inline constexpr int WordBreakProperty = QTextFormat::UserProperty + 1;

enum class ReadError {
    None,
    NotRtf, // the bytes do not begin with "{\rtf" (after optional white space)
};

struct ReadResult {
    std::unique_ptr<QTextDocument> document; // set exactly when error == None
    ReadError error = ReadError::None;
    bool cut = false; // the document ends with CutNotice

    bool ok() const { return error == ReadError::None; }
};

// Told now and then, while read() builds a document, how many of its input
// bytes have been read; returning false stops the reading there, and the
// document holds what was read until then.
using ReadProgress = std::function<bool(qsizetype bytesRead)>;

// Reads RTF bytes into a new document. Truncated input and unbalanced braces
// are read as far as they go; only input that is not RTF at all fails.
ReadResult read(QByteArrayView bytes, const ReadProgress &progress = {});

// Reads only the text, as read() would put it in the document's blocks
// (a line break within a paragraph as U+2028, as there), joined by '\n', with
// pictures left out and CutNotice last when the caps cut it short; nothing
// when the bytes are not RTF. Footnotes follow the text as in the document.
// Much faster than read(), as no document is built.
std::optional<QString> readText(QByteArrayView bytes);

} // namespace fosdat::rtf
