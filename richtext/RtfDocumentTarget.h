#pragma once

#include "RtfDocumentBuilder.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

namespace fosdat::rtf
{

// A document, filled through one cursor inside one edit block: the reader's
// formats become Qt formats, its pictures images of the document.
class CursorTarget final : public ContentTarget
{
public:
    explicit CursorTarget(QTextDocument &document);

    void formatFirstBlock(const TextFormats &formats) override;
    void setBlockFormat(const BlockFormat &format) override;
    void insertBlock(const TextFormats &formats) override;
    void splitBlock(qsizetype units, const TextFormats &formats) override;
    void insertText(const QString &text, const CharFormat &format) override;
    void insertPicture(const Picture &picture) override;
    void setTabDistance(qreal pixels) override;
    void finish() override;

private:
    // Formats mostly repeat: the last conversion of each kind is kept.
    const QTextCharFormat &charFormat(const CharFormat &format);
    const QTextBlockFormat &blockFormat(const BlockFormat &format);

    QTextDocument &m_document;
    QTextCursor m_cursor;
    int m_pictureCount = 0;
    CharFormat m_chars;
    QTextCharFormat m_charFormat;
    BlockFormat m_block;
    QTextBlockFormat m_blockFormat;
};

} // namespace fosdat::rtf
