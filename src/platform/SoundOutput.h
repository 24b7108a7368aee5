#pragma once

#include <QByteArray>
#include <QString>

namespace vestrel::platform {

// Plays WAV file images and beep tones. Every call returns at once, the sound going on behind it;
// all of them may be called from any thread.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Stops whatever plays and starts the WAV file image (header included; the bytes are shared,
    // not copied). Returns the reason in Italian when the header is not one that can be played,
    // else an empty text: a missing or failing sound device is not the caller's error.
    virtual QString play(const QByteArray& wav) = 0;
    // Stops the sound that play() started.
    virtual void stop() = 0;
    // A tone of `frequencyHz` for `durationMs`, beside any playing sound.
    virtual void beep(int frequencyHz, int durationMs) = 0;

    // The one installed last, else the default chosen once: VESTREL_SOUND=alsa (the default),
    // none (silence: the tests set it, so no test makes a noise) or recorder.
    static SoundOutput& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(SoundOutput* output);
};

// Hears nothing; still refuses headers that cannot be played, as a real device would.
class SilentSound final : public SoundOutput {
public:
    QString play(const QByteArray& wav) override;
    void stop() override {}
    void beep(int, int) override {}
};

// 16-bit signed mono samples of a sine tone with soft edges, for the beep. The frequency is kept
// within 37..32767 Hz and the duration within 0..5000 ms, as the classic beep does.
QByteArray BeepSamples(int frequencyHz, int durationMs, int sampleRate);

} // namespace vestrel::platform
