#pragma once

#include "SoundOutput.h"

#include <memory>

namespace vestrel::platform {

// Plays through ALSA, each of the wave and the beep on a thread of its own that is started with
// its first sound. A new sound cuts the one playing short. Where no device can be opened every
// sound is dropped quietly, with one warning in the log.
class AlsaSound final : public SoundOutput {
public:
    explicit AlsaSound(const QByteArray& device = QByteArrayLiteral("default"));
    ~AlsaSound() override;
    AlsaSound(const AlsaSound&) = delete;
    AlsaSound& operator=(const AlsaSound&) = delete;

    QString play(const QByteArray& wav) override;
    void stop() override;
    void beep(int frequencyHz, int durationMs) override;

    // Waits until nothing is queued or playing; false on timeout.
    bool waitIdle(int timeoutMs);
    // Sounds that went to the device to their end or until cut short, and sounds that did not.
    int delivered() const;
    int failed() const;

    struct Shared;
    class Channel;

private:
    std::unique_ptr<Shared> m_shared;
    std::unique_ptr<Channel> m_waves;
    std::unique_ptr<Channel> m_tones;
};

} // namespace vestrel::platform
