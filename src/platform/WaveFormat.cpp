#include "WaveFormat.h"

#include <QtEndian>

#include <cstring>
#include <optional>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatExtensible = 0xFFFE;
// The PCM sub-format of an extensible header, after its first two bytes (the format tag).
constexpr unsigned char PcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                           0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr quint32 HighestRate = 768'000;

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

QString notWave()
{
    return u"Il file non è un file WAV"_s;
}

QString damaged()
{
    return u"File WAV danneggiato"_s;
}

QString unsupported()
{
    return u"Formato WAV non supportato: servono campioni PCM a 8 o 16 bit, mono o stereo"_s;
}

} // namespace

std::variant<WaveFormat, QString> ParseWave(QByteArrayView bytes)
{
    const char* const data = bytes.data();
    const quint64 total = quint64(bytes.size());
    if (total < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return notWave();

    // The chunks may come in any order and the RIFF size is often wrong: walk what is there.
    std::optional<WaveFormat> format;
    std::optional<std::pair<quint64, quint64>> samples; // offset, size
    quint64 pos = 12;
    while (total - pos >= 8 && !(format && samples)) {
        const char* header = data + pos;
        const quint64 size = u32(header + 4);
        const quint64 body = pos + 8;
        const quint64 available = total - body;
        if (std::memcmp(header, "fmt ", 4) == 0 && !format) {
            if (size < 16 || size > available)
                return damaged();
            const char* f = data + body;
            quint16 tag = u16(f);
            if (tag == FormatExtensible) {
                // cbSize of 22 carries valid bits, channel mask and the sub-format.
                if (size < 40 || u16(f + 16) < 22)
                    return damaged();
                tag = std::memcmp(f + 26, PcmGuidTail, sizeof PcmGuidTail) == 0 ? u16(f + 24) : 0;
            }
            WaveFormat w;
            w.channels = u16(f + 2);
            const quint32 rate = u32(f + 4);
            w.bitsPerSample = u16(f + 14);
            if (tag != FormatPcm || (w.channels != 1 && w.channels != 2) ||
                (w.bitsPerSample != 8 && w.bitsPerSample != 16))
                return unsupported();
            if (rate == 0 || rate > HighestRate)
                return u"Frequenza di campionamento non supportata: "_s + QString::number(rate) + u" Hz"_s;
            w.sampleRate = int(rate);
            format = w;
        } else if (std::memcmp(header, "data", 4) == 0 && !samples) {
            samples = std::make_pair(body, std::min(size, available));
        }
        // Chunks are padded to an even size; a size running past the end ends the walk.
        pos = body + size + (size & 1);
        if (pos > total)
            break;
    }
    if (!format || !samples)
        return damaged();
    WaveFormat w = *format;
    w.dataOffset = qsizetype(samples->first);
    w.dataSize = qsizetype(samples->second - samples->second % quint64(w.frameSize()));
    return w;
}

} // namespace vestrel::platform
