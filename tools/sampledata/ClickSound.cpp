#include "ClickSound.h"

#include "Random.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

namespace fosdat::sampledata::clicksound
{

namespace
{

constexpr int BitsPerSample = 16;
constexpr int BytesPerSample = BitsPerSample / 8;
constexpr int FormatChunkSize = 16;
constexpr quint16 PcmFormat = 1;

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

QByteArray header(quint32 dataBytes)
{
    QByteArray out;
    out += "RIFF";
    put32(out, 4 + 8 + FormatChunkSize + 8 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(out, FormatChunkSize);
    put16(out, PcmFormat);
    put16(out, 1); // mono
    put32(out, SampleRate);
    put32(out, SampleRate * BytesPerSample);
    put16(out, BytesPerSample);
    put16(out, BitsPerSample);
    out += "data";
    put32(out, dataBytes);
    return out;
}

} // namespace

QByteArray wave(Random &random)
{
    constexpr double Frequency = 2000.0;
    constexpr double Decay = 0.006;      // seconds to fall to 1/e
    constexpr double NoiseTime = 0.003;  // the attack is mostly noise
    constexpr double Peak = 0.6 * 32767; // leaves headroom
    QByteArray out = header(Samples * BytesPerSample);
    for (int n = 0; n < Samples; ++n) {
        const double t = double(n) / SampleRate;
        const double noise = random.between(-1000, 1000) / 1000.0;
        const double noiseShare = t < NoiseTime ? 0.7 : 0.15;
        const double tone = std::sin(2 * std::numbers::pi * Frequency * t);
        const double value =
            Peak * std::exp(-t / Decay) * ((1 - noiseShare) * tone + noiseShare * noise);
        put16(out, quint16(qint16(std::lround(value))));
    }
    return out;
}

} // namespace fosdat::sampledata::clicksound
