#pragma once

#include <QByteArray>

namespace fosdat::sampledata
{

class Random;

// The menu click: a wave file of about 45 ms, 16-bit PCM, mono, 22050 Hz, a
// short noise burst over a quickly decaying 2 kHz tone.
namespace clicksound
{
inline constexpr int SampleRate = 22050;
inline constexpr int Samples = SampleRate * 45 / 1000;

QByteArray wave(Random &random);
} // namespace clicksound

} // namespace fosdat::sampledata
