#pragma once

#include <QByteArrayView>
#include <QString>

#include <variant>

namespace vestrel::platform {

// Where the samples of a RIFF/WAVE file image are and how to play them.
struct WaveFormat {
    int channels = 0;      // 1 or 2
    int sampleRate = 0;    // frames per second
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed, little-endian)
    qsizetype dataOffset = 0;
    // Whole frames only; a data chunk cut short by the end of the file is taken as far as it goes.
    qsizetype dataSize = 0;

    int frameSize() const { return channels * bitsPerSample / 8; }
    qsizetype frameCount() const { return frameSize() > 0 ? dataSize / frameSize() : 0; }
};

// Reads the header of a WAV file image (PCM, 8 or 16 bits, mono or stereo, any rate), trusting
// nothing in it: every size is checked against the bytes there are. Anything else gives the
// reason in Italian.
std::variant<WaveFormat, QString> ParseWave(QByteArrayView bytes);

} // namespace vestrel::platform
