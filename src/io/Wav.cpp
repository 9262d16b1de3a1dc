#include "io/Wav.h"

#include <QtEndian>

namespace tolvaro {

QByteArray MakeWav(const QByteArray& samples, int sampleRate) {
    QByteArray wav;
    const auto put32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    const auto put16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav += "RIFF";
    put32(static_cast<quint32>(36 + samples.size()));
    wav += "WAVEfmt ";
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(static_cast<quint32>(sampleRate));
    put32(static_cast<quint32>(sampleRate * 2));
    put16(2);
    put16(16);
    wav += "data";
    put32(static_cast<quint32>(samples.size()));
    wav += samples;
    return wav;
}

} // namespace tolvaro
