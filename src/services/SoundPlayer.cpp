#include "SoundPlayer.h"

#include "WaveSounds.h"

#include "config/ProfileItem.h"
#include "platform/SoundOutput.h"

namespace vestrel {

SoundPlayer::SoundPlayer(TWaveSounds& sounds, ProfileSource currentProfile, platform::SoundOutput* output)
    : m_sounds(sounds), m_currentProfile(std::move(currentProfile)), m_output(output)
{
}

void SoundPlayer::PlayEvent(const QString& name)
{
    PlayEvent(name, true);
}

void SoundPlayer::PlayEvent(const QString& name, bool pause)
{
    const TProfileItem* profile = m_currentProfile ? m_currentProfile() : nullptr;
    if (profile && !profile->SoundsEnabled())
        return;
    m_sounds.Play(name, pause);
}

void SoundPlayer::Beep(int frequencyHz, int durationMs)
{
    (m_output ? *m_output : platform::SoundOutput::instance()).beep(frequencyHz, durationMs);
}

bool SoundPlayer::IsEventEnabled(const QString& name) const
{
    const TWaveItem* item = m_sounds.Find(name);
    return item && !item->WaveFile().Disabled();
}

} // namespace vestrel
