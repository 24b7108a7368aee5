#pragma once

#include <QString>

namespace vestrel {

// The named sound events and the beep of the program. The sound store installs the real player;
// until then (and in tests) nothing is heard.
class Sounds {
public:
    virtual ~Sounds() = default;
    // Plays the event's wave when the current profile has sounds on and the event is enabled.
    virtual void PlayEvent(const QString& name) = 0;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
    // The event has a wave that is not disabled.
    virtual bool IsEventEnabled(const QString& name) const = 0;

    static Sounds& instance();
    // nullptr restores the silent implementation. The caller keeps ownership.
    static void setInstance(Sounds* sounds);
};

inline void PlayEvent(const QString& name)
{
    Sounds::instance().PlayEvent(name);
}

} // namespace vestrel
