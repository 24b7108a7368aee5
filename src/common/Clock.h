#pragma once

#include "DateTime.h"

#include <QtGlobal>

#include <memory>

namespace vestrel {

class Timer;

// What a timer needs from the clock that drives it.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// The program's source of time: local date-time, a monotonic millisecond counter and the timers
// that run on them. Tests install a FakeClock and advance it.
class Clock {
public:
    virtual ~Clock() = default;

    virtual TDateTime now() const = 0;
    // Monotonic milliseconds; 64 bits, so it never wraps.
    virtual qint64 tickMs() const = 0;
    virtual std::unique_ptr<TimerBackend> createTimerBackend(Timer& timer) = 0;

    static Clock& instance();
    // nullptr restores the system clock. The caller keeps ownership.
    static void setInstance(Clock* clock);
};

inline TDateTime Now()
{
    return Clock::instance().now();
}

} // namespace vestrel
