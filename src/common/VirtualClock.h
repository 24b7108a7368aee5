#pragma once

#include "Clock.h"

#include <vector>

namespace vestrel {

// A clock that stands still until it is advanced; timers fire in due order as it moves. Tests
// use it, and so does a simulated run of the program, where a whole connection is counted in a
// fraction of a second. Installs itself as the process clock while it lives.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(TDateTime start = 36526.0 /* 1 January 2000 */);
    ~VirtualClock() override;

    TDateTime now() const override;
    qint64 tickMs() const override { return m_tick; }
    std::unique_ptr<TimerBackend> createTimerBackend(Timer& timer) override;

    void setNow(TDateTime value);
    // Moves time forward, firing every timer that falls due on the way, at its due time.
    void advance(qint64 ms);
    // Moves to the next moment a timer is due, at most `limitMs` ahead, and fires it; false when
    // none is due within the limit (time then stands still).
    bool advanceToNextTimer(qint64 limitMs);

private:
    friend class VirtualTimerBackend;
    struct Entry {
        Timer* timer;
        class VirtualTimerBackend* backend;
        qint64 due;
        int interval;
        bool armed;
    };
    Entry* entryFor(const class VirtualTimerBackend* backend);

    TDateTime m_start;
    qint64 m_startTick = 0;
    qint64 m_tick = 0;
    std::vector<Entry> m_entries;
};

} // namespace vestrel
