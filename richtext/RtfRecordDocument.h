#pragma once

#include "RtfRecord.h"

#include <QList>
#include <QTextDocument>
#include <memory>

namespace fosdat::rtf
{

// A run of a record's paragraphs made into a document, with its formats and
// pictures, and the way between positions in it and in the record's text.
// The document's text is the record's from the part's first paragraph on,
// each paragraph a block, with a picture's character where the document
// shows one.
struct PartDocument {
    std::unique_ptr<QTextDocument> document;
    ContentRecord::Part part;
    qsizetype start = 0;       // the record's text position of the document's position 0
    QList<qsizetype> pictures; // the record's text positions of the pictures shown

    // The document position of the record's text position `position`, which
    // lies in the part.
    int documentPosition(qsizetype position) const;
    // The record's text position of document position `position`.
    qsizetype textPosition(int position) const;
};

// The paragraphs `part` of `record` as a new document.
PartDocument buildPart(const ContentRecord &record, ContentRecord::Part part);

// The whole record as a new document, as a document reading of its file
// without a view's caps would give it.
std::unique_ptr<QTextDocument> buildWhole(const ContentRecord &record);

} // namespace fosdat::rtf
