#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

// A PNG of one color.
inline QByteArray png(int width, int height, Qt::GlobalColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An RTF picture group: a small red PNG, as a word processor embeds it.
inline QByteArray rtfPicture()
{
    return "{\\pict\\pngblip\\picw2\\pich2 " + png(2, 2, Qt::red).toHex() + "}";
}

// The document's text as the text-only reading gives it: the blocks' texts
// joined by '\n', pictures left out.
inline QString textWithoutPictures(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text().remove(QChar::ObjectReplacementCharacter));
    return blocks.join(u'\n');
}
