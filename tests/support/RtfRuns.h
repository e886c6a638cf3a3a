#pragma once

#include "RtfContentReader.h"
#include "RtfDocumentBuilder.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a reading of an RTF file puts into a document, as runs of text in one
// character format each: a paragraph's end is a run "\n" in a format of its
// own, a picture a run of U+FFFC. Adjacent runs in one format are one run,
// however the file groups them, so that two files that show the same text in
// the same formats give equal runs.
struct RtfRun {
    QString text;
    fosdat::rtf::CharFormat format;
    bool paragraphEnd = false;

    friend bool operator==(const RtfRun &, const RtfRun &) = default;
};

class RtfRunRecorder final : public fosdat::rtf::ContentTarget
{
public:
    void formatFirstBlock(const fosdat::rtf::TextFormats &) override {}
    void setBlockFormat(const fosdat::rtf::BlockFormat &) override {}
    void insertBlock(const fosdat::rtf::TextFormats &) override { endParagraph(); }
    void splitBlock(qsizetype units, const fosdat::rtf::TextFormats &) override
    {
        // The end goes `units` before the text read so far ends.
        QList<RtfRun> tail;
        while (units > 0 && !runs.isEmpty()) {
            RtfRun &last = runs.last();
            const qsizetype taken = qMin(units, last.text.size());
            tail.prepend({last.text.right(taken), last.format});
            last.text.chop(taken);
            units -= taken;
            if (last.text.isEmpty())
                runs.removeLast();
        }
        endParagraph();
        for (const RtfRun &run : std::as_const(tail))
            append(run);
    }
    void insertText(const QString &text, const fosdat::rtf::CharFormat &format) override
    {
        append({text, format});
    }
    void insertPicture(const fosdat::rtf::Picture &) override
    {
        append({QString(QChar::ObjectReplacementCharacter), {}});
    }

    QList<RtfRun> runs;

private:
    void endParagraph() { runs.append({QStringLiteral("\n"), {}, true}); }
    void append(const RtfRun &run)
    {
        if (run.text.isEmpty())
            return;
        if (!runs.isEmpty() && !runs.last().paragraphEnd && runs.last().format == run.format)
            runs.last().text += run.text;
        else
            runs.append(run);
    }
};

// The runs of the RTF file `bytes`, read whole.
inline QList<RtfRun> rtfRuns(const QByteArray &bytes)
{
    RtfRunRecorder recorder;
    if (const std::optional<QByteArrayView> rtf = fosdat::rtf::rtfStart(bytes))
        fosdat::rtf::readContent(*rtf, recorder, std::nullopt);
    return recorder.runs;
}
