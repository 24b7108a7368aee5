#pragma once

#include "common/Clock.h"

#include <vector>

namespace vestrel::testing {

// A clock that stands still until the test advances it; timers fire in due order as it does.
// Installs itself as the process clock while it lives.
class FakeClock final : public Clock {
public:
    explicit FakeClock(TDateTime start = 36526.0 /* 1 January 2000 */);
    ~FakeClock() override;

    TDateTime now() const override;
    qint64 tickMs() const override { return m_tick; }
    std::unique_ptr<TimerBackend> createTimerBackend(Timer& timer) override;

    void setNow(TDateTime value);
    // Moves time forward, firing every timer that falls due on the way, at its due time.
    void advance(qint64 ms);

private:
    friend class FakeTimerBackend;
    struct Entry {
        Timer* timer;
        class FakeTimerBackend* backend;
        qint64 due;
        int interval;
        bool armed;
    };
    Entry* entryFor(const class FakeTimerBackend* backend);

    TDateTime m_start;
    qint64 m_startTick = 0;
    qint64 m_tick = 0;
    std::vector<Entry> m_entries;
};

} // namespace vestrel::testing
