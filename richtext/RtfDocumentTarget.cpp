#include "RtfDocumentTarget.h"

#include "RtfPicture.h"
#include "RtfUnits.h"
#include "RtfWordBreaks.h"

#include <QBrush>
#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextLength>
#include <QUrl>

namespace fosdat::rtf
{

namespace
{

void setFlag(QTextFormat &format, int property, bool on)
{
    if (on)
        format.setProperty(property, true);
}

void setColor(QTextCharFormat &chars, int property, Rgb color)
{
    if (color != NoColor)
        chars.setProperty(property, QBrush(QColor(color >> 16, color >> 8 & 0xff, color & 0xff)));
}

// A length property, unset at zero.
void setLength(QTextBlockFormat &block, int property, int length)
{
    if (length != 0)
        block.setProperty(property, units::pixelsFromRtfLength(length));
}

QTextCharFormat toQt(const CharFormat &format)
{
    QTextCharFormat chars;
    if (!format.family.isEmpty())
        chars.setFontFamilies({format.family});
    if (format.halfPoints > 0)
        chars.setFontPointSize(units::pointsFromHalfPoints(format.halfPoints));
    setColor(chars, QTextFormat::ForegroundBrush, format.foreground);
    setColor(chars, QTextFormat::BackgroundBrush, format.background);
    if (format.vertical != VerticalPosition::Normal)
        chars.setVerticalAlignment(format.vertical == VerticalPosition::Superscript
                                       ? QTextCharFormat::AlignSuperScript
                                       : QTextCharFormat::AlignSubScript);
    if (format.capitals != Capitals::None)
        chars.setFontCapitalization(format.capitals == Capitals::All ? QFont::AllUppercase
                                                                     : QFont::SmallCaps);
    if (format.bold)
        chars.setFontWeight(QFont::Bold);
    if (format.underline)
        chars.setFontUnderline(true);
    setFlag(chars, QTextFormat::FontItalic, format.italic);
    setFlag(chars, QTextFormat::FontStrikeOut, format.strike);
    setFlag(chars, WordBreakProperty, format.wordBreak);
    return chars;
}

QTextOption::TabType toQt(TabKind kind)
{
    switch (kind) {
    case TabKind::Right:
        return QTextOption::RightTab;
    case TabKind::Center:
        return QTextOption::CenterTab;
    case TabKind::Decimal:
        return QTextOption::DelimiterTab;
    case TabKind::Left:
        break;
    }
    return QTextOption::LeftTab;
}

QTextBlockFormat toQt(const BlockFormat &format)
{
    QTextBlockFormat block;
    switch (format.alignment) {
    case Alignment::Left:
        break;
    case Alignment::Center:
        block.setAlignment(Qt::AlignHCenter);
        break;
    case Alignment::Right:
        block.setAlignment(Qt::AlignRight);
        break;
    case Alignment::Justify:
        block.setAlignment(Qt::AlignJustify);
        break;
    }
    setLength(block, QTextFormat::BlockLeftMargin, format.leftIndent);
    setLength(block, QTextFormat::BlockRightMargin, format.rightIndent);
    setLength(block, QTextFormat::TextIndent, format.firstLineIndent);
    setLength(block, QTextFormat::BlockTopMargin, format.spaceBefore);
    setLength(block, QTextFormat::BlockBottomMargin, format.spaceAfter);
    if (!format.tabStops.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        tabs.reserve(format.tabStops.size());
        for (const TabStop &stop : format.tabStops) {
            // A decimal stop aligns on the decimal comma of the catalogues' numbers.
            const QChar delimiter = stop.kind == TabKind::Decimal ? u',' : QChar();
            tabs.append({units::pixelsFromRtfLength(stop.position), toQt(stop.kind), delimiter});
        }
        block.setTabPositions(tabs);
    }
    if (format.rule)
        block.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                          QTextLength(QTextLength::PercentageLength, 100));
    return block;
}

} // namespace

CursorTarget::CursorTarget(QTextDocument &document)
    : m_document(document), m_cursor(&document), m_charFormat(toQt(m_chars)),
      m_blockFormat(toQt(m_block))
{
    m_cursor.beginEditBlock();
}

const QTextCharFormat &CursorTarget::charFormat(const CharFormat &format)
{
    if (!(format == m_chars)) {
        m_chars = format;
        m_charFormat = toQt(format);
    }
    return m_charFormat;
}

const QTextBlockFormat &CursorTarget::blockFormat(const BlockFormat &format)
{
    if (!(format == m_block)) {
        m_block = format;
        m_blockFormat = toQt(format);
    }
    return m_blockFormat;
}

void CursorTarget::formatFirstBlock(const TextFormats &formats)
{
    m_cursor.setBlockFormat(blockFormat(formats.block));
    m_cursor.setBlockCharFormat(charFormat(formats.chars));
}

void CursorTarget::setBlockFormat(const BlockFormat &format)
{
    m_cursor.setBlockFormat(blockFormat(format));
}

void CursorTarget::insertBlock(const TextFormats &formats)
{
    m_cursor.insertBlock(blockFormat(formats.block), charFormat(formats.chars));
}

void CursorTarget::splitBlock(qsizetype units, const TextFormats &formats)
{
    QTextCursor split(m_cursor);
    split.setPosition(m_cursor.position() - int(units));
    split.insertBlock(blockFormat(formats.block), charFormat(formats.chars));
}

void CursorTarget::insertText(const QString &text, const CharFormat &format)
{
    m_cursor.insertText(text, charFormat(format));
}

// The picture has its place in the text already; one that does not decode
// as its header promised leaves that place empty.
void CursorTarget::insertPicture(const Picture &picture)
{
    QByteArray data = picture.data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, picture.png ? "png" : "jpeg");
    QImage image;
    if (reader.size() != picture.pixels || !reader.read(&image))
        return;
    const QString name = QStringLiteral("rtfpict:%1").arg(++m_pictureCount);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    if (picture.size.width() > 0)
        format.setWidth(picture.size.width());
    if (picture.size.height() > 0)
        format.setHeight(picture.size.height());
    m_cursor.insertImage(format);
}

void CursorTarget::setTabDistance(qreal pixels)
{
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document.setDefaultTextOption(option);
}

void CursorTarget::finish()
{
    m_cursor.endEditBlock();
}

} // namespace fosdat::rtf
