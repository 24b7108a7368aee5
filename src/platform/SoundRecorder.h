#pragma once

#include "SoundOutput.h"

#include <QMutex>
#include <QWaitCondition>

#include <vector>

namespace vestrel::platform {

// Records what would be heard instead of playing it. Headers are checked as the real backend
// checks them, so a bad file fails the same way. Safe to call from any thread.
class SoundRecorder final : public SoundOutput {
public:
    enum class Kind { Play, Stop, Beep };
    struct Event {
        Kind kind = Kind::Play;
        QByteArray wav;  // Play
        int frequencyHz = 0; // Beep
        int durationMs = 0;  // Beep
    };

    QString play(const QByteArray& wav) override;
    void stop() override;
    void beep(int frequencyHz, int durationMs) override;

    std::vector<Event> events() const;
    // The WAV images played, in order.
    std::vector<QByteArray> played() const;
    void clear();

    // While held, play() waits inside (as a device that takes its time) until release(); a test
    // uses it to pile requests up behind a sound being played.
    void hold();
    void release();
    // Waits until `count` plays were recorded (those being held included); false on timeout.
    bool waitForPlays(int count, int timeoutMs) const;

private:
    mutable QMutex m_mutex;
    mutable QWaitCondition m_changed;
    std::vector<Event> m_events;
    int m_plays = 0;
    bool m_held = false;
};

} // namespace vestrel::platform
