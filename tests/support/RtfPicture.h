#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// An RTF picture group: a small red PNG, as a word processor embeds it.
inline QByteArray rtfPicture()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "{\\pict\\pngblip\\picw2\\pich2 " + png.toHex() + "}";
}
