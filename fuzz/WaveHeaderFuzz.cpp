// Any bytes given to the WAV header reader end in a format that lies inside them or in a reason,
// never in a fault.

#include "platform/WaveFormat.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

using namespace vestrel;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto parsed = platform::ParseWave(bytes);
    if (const auto* error = std::get_if<QString>(&parsed)) {
        require(!error->isEmpty());
        return 0;
    }
    const platform::WaveFormat& w = std::get<platform::WaveFormat>(parsed);
    require(w.channels == 1 || w.channels == 2);
    require(w.bitsPerSample == 8 || w.bitsPerSample == 16);
    require(w.sampleRate > 0);
    require(w.dataOffset >= 12 && w.dataSize >= 0 && w.dataOffset + w.dataSize <= bytes.size());
    require(w.dataSize % w.frameSize() == 0);
    // Touch every sample as a player would, so a wrong bound shows under the sanitizer.
    unsigned sum = 0;
    for (qsizetype i = 0; i < w.dataSize; ++i)
        sum += std::uint8_t(bytes[w.dataOffset + i]);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
