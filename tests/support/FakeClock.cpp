#include "FakeClock.h"

#include "common/Timer.h"

#include <QPointer>

#include <algorithm>

namespace vestrel::testing {

class FakeTimerBackend final : public TimerBackend {
public:
    FakeTimerBackend(FakeClock& clock, Timer& timer) : m_clock(clock)
    {
        m_clock.m_entries.push_back({&timer, this, 0, 0, false});
    }
    ~FakeTimerBackend() override
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
    FakeClock& m_clock;
};

FakeClock::FakeClock(TDateTime start) : m_start(start)
{
    Clock::setInstance(this);
}

FakeClock::~FakeClock()
{
    Clock::setInstance(nullptr);
}

TDateTime FakeClock::now() const
{
    return MSecsToDateTime(DateTimeToMSecs(m_start) + (m_tick - m_startTick));
}

void FakeClock::setNow(TDateTime value)
{
    m_start = value;
    m_startTick = m_tick;
}

std::unique_ptr<TimerBackend> FakeClock::createTimerBackend(Timer& timer)
{
    return std::make_unique<FakeTimerBackend>(*this, timer);
}

FakeClock::Entry* FakeClock::entryFor(const FakeTimerBackend* backend)
{
    for (auto& e : m_entries)
        if (e.backend == backend)
            return &e;
    return nullptr;
}

void FakeClock::advance(qint64 ms)
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

} // namespace vestrel::testing
