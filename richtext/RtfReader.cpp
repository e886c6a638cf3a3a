#include "RtfReader.h"

#include "RtfDocumentTarget.h"

namespace fosdat::rtf
{

ReadResult read(QByteArrayView bytes, const ReadOptions &options)
{
    const std::optional<QByteArrayView> rtf = rtfStart(bytes);
    if (!rtf)
        return {nullptr, ReadError::NotRtf};
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false); // nothing of the loading is to be undone
    CursorTarget target(*document);
    const qsizetype skipped = rtf->data() - bytes.data(); // white space before "{\rtf"
    const ReadProgress &progress = options.progress;
    const ContentCounts counts = readContent(
        *rtf, target, options.layoutHeight,
        progress ? ReadProgress([&](qsizetype read) { return progress(skipped + read); })
                 : ReadProgress());
    document->setUndoRedoEnabled(true);
    return {std::move(document), ReadError::None,        counts.cut,
            counts.plainPast,    counts.shownCharacters, counts.characters};
}

} // namespace fosdat::rtf
