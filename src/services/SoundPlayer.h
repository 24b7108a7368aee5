#pragma once

#include "common/Sounds.h"

#include <functional>

namespace vestrel {

class TProfileItem;
class TWaveSounds;

namespace platform {
class SoundOutput;
}

// The program's sounds over the sound store: an event plays only when there is no current
// profile or the profile has sounds enabled (otherwise its name is not even looked up), and a
// name that no item bears raises "Suono " + name + " non trovato!". The application installs it
// with Sounds::setInstance.
class SoundPlayer final : public Sounds {
public:
    using ProfileSource = std::function<const TProfileItem*()>;

    // `output` plays the beep; nullptr means the installed platform output at each beep.
    SoundPlayer(TWaveSounds& sounds, ProfileSource currentProfile, platform::SoundOutput* output = nullptr);

    // An event sound: played after the short pause.
    void PlayEvent(const QString& name) override;
    // `pause` false for the sounds of typing, which must follow the keys at once.
    void PlayEvent(const QString& name, bool pause);
    void Beep(int frequencyHz, int durationMs) override;
    // There is an item of that name whose sound is not disabled.
    bool IsEventEnabled(const QString& name) const override;

private:
    TWaveSounds& m_sounds;
    ProfileSource m_currentProfile;
    platform::SoundOutput* m_output;
};

} // namespace vestrel
