#pragma once

#include <QByteArray>

namespace tolvaro {

// A mono 16-bit PCM WAV file's bytes around the samples (little-endian, as WAV holds them).
QByteArray MakeWav(const QByteArray& samples, int sampleRate);

} // namespace tolvaro
