#include "Clock.h"

#include "Timer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

namespace vestrel {

namespace {

class QtTimerBackend final : public TimerBackend {
public:
    explicit QtTimerBackend(Timer& owner)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &owner, &Timer::fire);
    }
    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

class SystemClock final : public Clock {
public:
    SystemClock() { m_elapsed.start(); }
    TDateTime now() const override { return FromQDateTime(QDateTime::currentDateTime()); }
    qint64 tickMs() const override { return m_elapsed.elapsed(); }
    std::unique_ptr<TimerBackend> createTimerBackend(Timer& timer) override
    {
        return std::make_unique<QtTimerBackend>(timer);
    }

private:
    QElapsedTimer m_elapsed;
};

Clock* g_clock = nullptr;

SystemClock& systemClock()
{
    static SystemClock clock;
    return clock;
}

} // namespace

Clock& Clock::instance()
{
    return g_clock ? *g_clock : systemClock();
}

void Clock::setInstance(Clock* clock)
{
    g_clock = clock;
}

} // namespace vestrel
