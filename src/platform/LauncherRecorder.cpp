#include "LauncherRecorder.h"

#include <utility>

namespace vestrel::platform {

void LauncherRecorder::setOutcome(const QString& path, qint32 instance, const QString& systemText)
{
    const std::lock_guard lock(m_mutex);
    LaunchResult outcome;
    outcome.instance = instance;
    outcome.systemText = systemText;
    m_outcomes.insert(path, outcome);
}

void LauncherRecorder::hold(bool on)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held = on;
    }
    m_released.notify_all();
}

std::vector<LaunchRequest> LauncherRecorder::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::shared_ptr<LauncherRecorder::Process>> LauncherRecorder::processes() const
{
    const std::lock_guard lock(m_mutex);
    return m_processes;
}

LaunchResult LauncherRecorder::launch(const LaunchRequest& request)
{
    std::unique_lock lock(m_mutex);
    m_released.wait(lock, [this] { return !m_held; });
    m_requests.push_back(request);
    if (const auto it = m_outcomes.constFind(request.path); it != m_outcomes.constEnd()
        && !it->ok())
        return *it;
    LaunchResult result;
    result.instance = LaunchCode::Started;
    auto process = std::make_shared<Process>(request);
    m_processes.push_back(process);
    result.process = std::move(process);
    return result;
}

void LauncherRecorder::Process::exit()
{
    const std::lock_guard lock(m_mutex);
    m_running = false;
}

void LauncherRecorder::Process::failTermination(const QString& systemText)
{
    const std::lock_guard lock(m_mutex);
    m_failure = systemText;
}

int LauncherRecorder::Process::terminations() const
{
    const std::lock_guard lock(m_mutex);
    return m_terminations;
}

bool LauncherRecorder::Process::isRunning() const
{
    const std::lock_guard lock(m_mutex);
    return m_running;
}

LaunchedProcess::TerminateResult LauncherRecorder::Process::terminate()
{
    const std::lock_guard lock(m_mutex);
    if (!m_failure.isEmpty())
        return {Ending::Failed, std::exchange(m_failure, QString())};
    if (!m_running)
        return {Ending::AlreadyEnded, {}};
    m_running = false;
    ++m_terminations;
    return {Ending::Terminated, {}};
}

} // namespace vestrel::platform
