#pragma once

#include <QtGlobal>

#include <functional>
#include <map>
#include <memory>

namespace vestrel {
class Timer;
}

namespace vestrel::platform {

// Steps that run at given moments of the process Clock, on the user-interface thread. The
// simulated backends replay their scripts with it, so a test that advances a FakeClock (or a
// command that drives a virtual clock) sees every scripted change at its moment.
// The timer is made on the first step, on the clock installed at that time.
class ScriptTimeline {
public:
    using Step = std::function<void()>;

    ScriptTimeline();
    ~ScriptTimeline();

    // Runs `step` `delayMs` from now (at least 1 ms, so never inside the caller). Steps due at
    // the same moment run in the order they were added. `tag` groups steps for cancel().
    void after(qint64 delayMs, Step step, quint64 tag = 0);
    void cancel(quint64 tag);
    bool isEmpty() const { return m_steps.empty(); }

private:
    struct Pending {
        quint64 tag;
        Step step;
    };
    void runDue();
    void rearm();

    std::multimap<qint64, Pending> m_steps;
    std::unique_ptr<Timer> m_timer;
};

} // namespace vestrel::platform
