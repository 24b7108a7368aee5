#include "Timer.h"

#include "Clock.h"

#include <QPointer>

namespace vestrel {

Timer::Timer(QObject* owner, const QString& name, int intervalMs)
    : QObject(owner), m_backend(Clock::instance().createTimerBackend(*this)), m_interval(intervalMs)
{
    if (!name.isEmpty())
        setObjectName(name);
}

Timer::~Timer() = default;

void Timer::setInterval(int ms)
{
    if (ms == m_interval)
        return;
    m_interval = ms;
    update();
}

void Timer::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    update();
}

void Timer::update()
{
    m_backend->stop();
    if (m_enabled && m_interval > 0)
        m_backend->start(m_interval);
}

void Timer::fire()
{
    if (!m_enabled || m_inHandler)
        return;
    // Cleared also when a handler throws, so the timer goes on ticking afterwards.
    struct InHandler {
        QPointer<Timer> timer;
        ~InHandler()
        {
            if (timer)
                timer->m_inHandler = false;
        }
    } guard{this};
    m_inHandler = true;
    Q_EMIT timeout();
}

void DisableOwnedTimers(QObject* owner)
{
    if (!owner)
        return;
    for (Timer* timer : owner->findChildren<Timer*>(QString(), Qt::FindDirectChildrenOnly))
        timer->stop();
}

} // namespace vestrel
