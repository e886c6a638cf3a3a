#pragma once

#include "RtfContentReader.h"
#include "RtfFormats.h"
#include "RtfPicture.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace fosdat::rtf
{

// The whole content of an RTF document as read without a view's caps, kept
// compactly: its text, where its paragraphs and changes of format begin, its
// pictures, and each paragraph's estimated top. Any run of its paragraphs can
// be made into a document of its own (RtfRecordDocument.h), so that a view
// lays out a part of a catalogue of any size, and the whole is still at hand
// for finding, saving and printing. Needs Qt Core alone.
struct ContentRecord {
    struct Paragraph {
        qsizetype start = 0; // in `text`
        int block = 0;       // index into blockFormats
        int chars = 0;       // the paragraph's own character format (charFormats)
        qreal top = 0;       // estimated, in pixels at the document's own sizes
    };
    struct Run {
        qsizetype start = 0; // in `text`; the run goes on to the next one's start
        int chars = 0;
    };
    struct PlacedPicture {
        qsizetype position = 0; // in `text`: it stands before the character there
        Picture picture;
    };

    // As readText() gives it: paragraphs joined by '\n', pictures left out.
    QString text;
    QList<Paragraph> paragraphs; // never empty once read
    QList<Run> runs;             // in order of start, the first at 0
    QList<PlacedPicture> pictures;
    QList<CharFormat> charFormats;
    QList<BlockFormat> blockFormats;
    std::optional<qreal> tabDistance; // pixels, where the document sets one
    qreal height = 0;                 // estimated, of the whole
    ContentCounts counts;

    // A run of whole paragraphs, [first, end).
    struct Part {
        int first = 0;
        int end = 0;
        friend bool operator==(const Part &, const Part &) = default;
    };

    // The part that holds `paragraph`, with about a third of it above that
    // one: as many paragraphs as fit in `characters` characters and an
    // estimated `height`, but at least `paragraph` itself. At the record's
    // ends the part reaches further the other way.
    Part partAround(int paragraph, qsizetype characters, qreal height) const;

    // The index of the paragraph holding text position `position`.
    int paragraphAt(qsizetype position) const;
    // Where paragraph `index` ends: the position of its '\n', or the text's end.
    qsizetype paragraphEnd(int index) const;
    // The estimated top of paragraph `index`, for 0 to paragraphs.size()
    // alike: past the last, the whole height.
    qreal topOf(int index) const;

private:
    // Where paragraph `index` begins, for 0 to paragraphs.size() alike.
    qsizetype startOf(int index) const;
    // The first paragraph from which the part up to `end` stays within the bounds.
    int firstWithin(int end, qsizetype characters, qreal height) const;
    // The end up to which the part from `first` stays within the bounds.
    int endWithin(int first, qsizetype characters, qreal height) const;
};

// Reads RTF bytes (anything before "{\rtf" but white space fails) into a
// record; nothing when they are not RTF. `progress` may stop the reading,
// which then holds what was read.
std::optional<ContentRecord> readRecord(QByteArrayView bytes, const ReadProgress &progress = {});

// The beginning of a document, for showing it while the rest is read: the
// paragraphs readRecord() would give that lie wholly within its first
// `characters` characters of text (at least the first, where it has ended),
// each exactly as readRecord() gives it, the text ending with the last of
// them. The reading stops soon after the text passes `characters` (it looks
// every 64 KB of input); `whole` where it came to the bytes' end first, and
// the record is then readRecord()'s of them all. Nothing when they are not
// RTF, or when the first paragraph is still open where the reading stops.
struct RecordStart {
    ContentRecord record;
    bool whole = false;
};
std::optional<RecordStart> readRecordStart(QByteArrayView bytes, qsizetype characters);

} // namespace fosdat::rtf
