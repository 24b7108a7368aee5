#include "SoundOutput.h"

#include "SoundAlsa.h"
#include "SoundRecorder.h"
#include "WaveFormat.h"

#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

std::atomic<SoundOutput*> installed = nullptr;

std::unique_ptr<SoundOutput> createDefault()
{
    const QString choice = qEnvironmentVariable("VESTREL_SOUND");
    if (choice == u"none"_s)
        return std::make_unique<SilentSound>();
    if (choice == u"recorder"_s)
        return std::make_unique<SoundRecorder>();
    return std::make_unique<AlsaSound>();
}

} // namespace

SoundOutput& SoundOutput::instance()
{
    if (SoundOutput* output = installed.load())
        return *output;
    // Destroyed at exit, after the application: the ALSA backend joins its own threads.
    static const std::unique_ptr<SoundOutput> fallback = createDefault();
    return *fallback;
}

void SoundOutput::setInstance(SoundOutput* output)
{
    installed = output;
}

QString SilentSound::play(const QByteArray& wav)
{
    const auto parsed = ParseWave(wav);
    if (const QString* error = std::get_if<QString>(&parsed))
        return *error;
    return {};
}

QByteArray BeepSamples(int frequencyHz, int durationMs, int sampleRate)
{
    const int hz = std::clamp(frequencyHz, 37, 32767);
    const int ms = std::clamp(durationMs, 0, 5000);
    const qsizetype count = qsizetype(sampleRate) * ms / 1000;
    // 5 ms ramps at both ends keep the tone from clicking.
    const double ramp = std::max(1.0, sampleRate * 0.005);
    QByteArray out(count * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i) {
        const double edge = std::min({1.0, double(i) / ramp, double(count - 1 - i) / ramp});
        const double s = 0.4 * edge * std::sin(2 * std::numbers::pi * hz * double(i) / sampleRate);
        qToLittleEndian<qint16>(qint16(std::lround(s * 32767)), out.data() + 2 * i);
    }
    return out;
}

} // namespace vestrel::platform
