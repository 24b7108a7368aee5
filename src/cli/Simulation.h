#pragma once

#include "SimulationScript.h"

#include "common/VirtualClock.h"
#include "platform/SimulatedDialUp.h"
#include "platform/SimulatedLine.h"
#include "platform/TrafficSimulated.h"

#include <QHash>

#include <memory>

namespace vestrel {
class TDataShare;
}

namespace vestrel::cli {

// The simulated machine of `watch --simulate`: a virtual clock and the simulated dial-up, line
// and traffic backends, installed as the process's while it lives, replaying a script.
class Simulation {
public:
    explicit Simulation(const SimulationScript& script);
    ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    VirtualClock& Clock() { return m_clock; }
    qint32 LineDevice() const { return m_device; }

    // Schedules the script's timed lines against the program's data module.
    void Start(TDataShare& data);
    // Every line has run.
    bool Done() const { return m_done == m_script.lines.size(); }
    qint64 LastMs() const;

private:
    void run(const ScriptLine& line, TDataShare& data);
    void dial(const ScriptLine& line, TDataShare& data);

    const SimulationScript& m_script;
    VirtualClock m_clock;
    platform::SimulatedDialUp m_dialUp;
    platform::SimulatedLine m_line;
    platform::TrafficSimulated m_traffic;
    qint32 m_device = 0;
    platform::LineCallHandle m_call = 0;
    platform::LineCallInfo m_callInfo;
    QHash<QString, platform::DialUpHandle> m_connections;
    std::size_t m_done = 0;
};

} // namespace vestrel::cli
