#pragma once

#include "LauncherService.h"

#include <QHash>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace vestrel::platform {

// Records every launch instead of starting anything. Each successful launch gives a process
// that runs until the test ends it or it is terminated. Safe to use from several workers.
class LauncherRecorder final : public LauncherService {
public:
    class Process;

    // Launches of this path answer `instance` (and `systemText`) from now on.
    void setOutcome(const QString& path, qint32 instance, const QString& systemText = {});
    // While held, launch() waits, so a test can act while a start is under way.
    void hold(bool on);

    std::vector<LaunchRequest> requests() const;
    // The processes started so far, in the order of their launches.
    std::vector<std::shared_ptr<Process>> processes() const;

    LaunchResult launch(const LaunchRequest& request) override;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_held = false;
    QHash<QString, LaunchResult> m_outcomes;
    std::vector<LaunchRequest> m_requests;
    std::vector<std::shared_ptr<Process>> m_processes;
};

class LauncherRecorder::Process final : public LaunchedProcess {
public:
    explicit Process(LaunchRequest request) : m_request(std::move(request)) {}

    const LaunchRequest& request() const { return m_request; }
    // The application ends by itself.
    void exit();
    // The next terminate() fails with this text.
    void failTermination(const QString& systemText);
    int terminations() const;

    bool isRunning() const override;
    TerminateResult terminate() override;

private:
    const LaunchRequest m_request;
    mutable std::mutex m_mutex;
    bool m_running = true;
    QString m_failure;
    int m_terminations = 0;
};

} // namespace vestrel::platform
