#pragma once

#include <QByteArray>
#include <QDataStream>

// A valid 16-bit mono click of `samples` samples at 22050 Hz.
inline QByteArray clickWave(quint32 samples)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = samples * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (quint32 i = 0; i < samples; ++i)
        out << qint16((i % 20) < 10 ? 8000 : -8000);
    return bytes;
}
