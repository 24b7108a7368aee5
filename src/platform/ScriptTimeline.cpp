#include "ScriptTimeline.h"

#include "common/Clock.h"
#include "common/Timer.h"

#include <algorithm>
#include <limits>

namespace vestrel::platform {

ScriptTimeline::ScriptTimeline() = default;
ScriptTimeline::~ScriptTimeline() = default;

void ScriptTimeline::after(qint64 delayMs, Step step, quint64 tag)
{
    const qint64 due = Clock::instance().tickMs() + std::max<qint64>(delayMs, 1);
    m_steps.emplace(due, Pending{tag, std::move(step)});
    if (!m_timer) {
        m_timer = std::make_unique<Timer>(nullptr, QStringLiteral("ScriptTimeline"), 1);
        QObject::connect(m_timer.get(), &Timer::timeout, m_timer.get(), [this] { runDue(); });
    }
    if (!m_timer->isRunningHandler())
        rearm();
}

void ScriptTimeline::cancel(quint64 tag)
{
    std::erase_if(m_steps, [tag](const auto& s) { return s.second.tag == tag; });
}

void ScriptTimeline::runDue()
{
    // Re-armed even when a step throws, so the steps after it still run.
    struct Rearm {
        ScriptTimeline* timeline;
        ~Rearm() { timeline->rearm(); }
    } rearmAtEnd{this};
    // One step at a time: a step may add or cancel others.
    for (;;) {
        const auto first = m_steps.begin();
        if (first == m_steps.end() || first->first > Clock::instance().tickMs())
            break;
        Step step = std::move(first->second.step);
        m_steps.erase(first);
        step();
    }
}

void ScriptTimeline::rearm()
{
    m_timer->stop();
    if (m_steps.empty())
        return;
    const qint64 wait = m_steps.begin()->first - Clock::instance().tickMs();
    m_timer->setInterval(int(std::clamp<qint64>(wait, 1, std::numeric_limits<int>::max())));
    m_timer->start();
}

} // namespace vestrel::platform
