#include "SoundRecorder.h"

#include "WaveFormat.h"

#include <QDeadlineTimer>

namespace vestrel::platform {

QString SoundRecorder::play(const QByteArray& wav)
{
    const auto parsed = ParseWave(wav);
    QMutexLocker lock(&m_mutex);
    m_events.push_back({Kind::Play, wav, 0, 0});
    ++m_plays;
    m_changed.wakeAll();
    while (m_held)
        m_changed.wait(&m_mutex);
    if (const QString* error = std::get_if<QString>(&parsed))
        return *error;
    return {};
}

void SoundRecorder::stop()
{
    QMutexLocker lock(&m_mutex);
    m_events.push_back({Kind::Stop, {}, 0, 0});
    m_changed.wakeAll();
}

void SoundRecorder::beep(int frequencyHz, int durationMs)
{
    QMutexLocker lock(&m_mutex);
    m_events.push_back({Kind::Beep, {}, frequencyHz, durationMs});
    m_changed.wakeAll();
}

std::vector<SoundRecorder::Event> SoundRecorder::events() const
{
    QMutexLocker lock(&m_mutex);
    return m_events;
}

std::vector<QByteArray> SoundRecorder::played() const
{
    QMutexLocker lock(&m_mutex);
    std::vector<QByteArray> out;
    for (const Event& e : m_events)
        if (e.kind == Kind::Play)
            out.push_back(e.wav);
    return out;
}

void SoundRecorder::clear()
{
    QMutexLocker lock(&m_mutex);
    m_events.clear();
    m_plays = 0;
}

void SoundRecorder::hold()
{
    QMutexLocker lock(&m_mutex);
    m_held = true;
}

void SoundRecorder::release()
{
    QMutexLocker lock(&m_mutex);
    m_held = false;
    m_changed.wakeAll();
}

bool SoundRecorder::waitForPlays(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_mutex);
    while (m_plays < count)
        if (!m_changed.wait(&m_mutex, deadline))
            return m_plays >= count;
    return true;
}

} // namespace vestrel::platform
