#include "VirtualClock.h"

#include "Timer.h"

#include <QPointer>

#include <algorithm>

namespace vestrel {

class VirtualTimerBackend final : public TimerBackend {
public:
    VirtualTimerBackend(VirtualClock& clock, Timer& timer) : m_clock(clock)
    {
        m_clock.m_entries.push_back({&timer, this, 0, 0, false});
    }
    ~VirtualTimerBackend() override
    {
        auto& entries = m_clock.m_entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [this](const auto& e) { return e.backend == this; }),
                      entries.end());
    }
    void start(int intervalMs) override
    {
        auto* e = m_clock.entryFor(this);
        e->interval = intervalMs;
        e->due = m_clock.m_tick + intervalMs;
        e->armed = true;
    }
    void stop() override { m_clock.entryFor(this)->armed = false; }

private:
    VirtualClock& m_clock;
};

VirtualClock::VirtualClock(TDateTime start) : m_start(start)
{
    Clock::setInstance(this);
}

VirtualClock::~VirtualClock()
{
    Clock::setInstance(nullptr);
}

TDateTime VirtualClock::now() const
{
    return MSecsToDateTime(DateTimeToMSecs(m_start) + (m_tick - m_startTick));
}

void VirtualClock::setNow(TDateTime value)
{
    m_start = value;
    m_startTick = m_tick;
}

std::unique_ptr<TimerBackend> VirtualClock::createTimerBackend(Timer& timer)
{
    return std::make_unique<VirtualTimerBackend>(*this, timer);
}

VirtualClock::Entry* VirtualClock::entryFor(const VirtualTimerBackend* backend)
{
    for (auto& e : m_entries)
        if (e.backend == backend)
            return &e;
    return nullptr;
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_tick + ms;
    for (;;) {
        Entry* next = nullptr;
        for (auto& e : m_entries)
            if (e.armed && e.due <= target && (!next || e.due < next->due))
                next = &e;
        if (!next)
            break;
        m_tick = std::max(m_tick, next->due);
        next->due += next->interval;
        QPointer<Timer> timer(next->timer);
        timer->fire();
    }
    m_tick = std::max(m_tick, target);
}

} // namespace vestrel

namespace vestrel {

bool VirtualClock::advanceToNextTimer(qint64 limitMs)
{
    const Entry* next = nullptr;
    for (const auto& e : m_entries)
        if (e.armed && (!next || e.due < next->due))
            next = &e;
    if (!next || next->due - m_tick > limitMs)
        return false;
    advance(std::max<qint64>(next->due - m_tick, 0));
    return true;
}

} // namespace vestrel
