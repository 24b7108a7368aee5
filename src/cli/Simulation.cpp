#include "Simulation.h"

#include "common/Clock.h"
#include "config/EntryItem.h"
#include "monitor/DataShare.h"
#include "monitor/MatrixStatus.h"
#include "monitor/RasControl.h"
#include "monitor/Status.h"

#include <cstdio>
#include <cstdlib>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;
using namespace vestrel::platform;

namespace {
const QString Interface = u"ppp0"_s;
} // namespace

Simulation::Simulation(const SimulationScript& script)
    : m_script(script), m_clock(script.start.value_or(Now()))
{
    for (const auto& e : script.entries) {
        // A saved login, so the program's dialler dials without asking for one.
        m_dialUp.addEntry(e.name, {u"utente"_s, u"segreta"_s, true});
        if (!e.number.isEmpty())
            m_dialUp.setEntryProperties(e.name, {e.number, {}, 39, false});
    }
    m_device = m_line.addDevice(u"Modem simulato"_s);
    m_traffic.setCounters(Interface, 0, 0);
    DialUpService::setInstance(&m_dialUp);
    LineService::setInstance(&m_line);
    TrafficService::setInstance(&m_traffic);
}

Simulation::~Simulation()
{
    TrafficService::setInstance(nullptr);
    LineService::setInstance(nullptr);
    DialUpService::setInstance(nullptr);
}

qint64 Simulation::LastMs() const
{
    qint64 last = 0;
    for (const auto& l : m_script.lines)
        last = std::max(last, l.atMs);
    return last;
}

void Simulation::Start(TDataShare& data)
{
    data.Ras().SetHangUpPause([this](int ms) { m_clock.advance(ms); });
    for (const ScriptLine& line : m_script.lines)
        m_dialUp.after(std::max<qint64>(line.atMs, 1), [this, &line, &data] {
            ++m_done;
            run(line, data);
        });
}

void Simulation::dial(const ScriptLine& line, TDataShare& data)
{
    if (line.kind == ScriptLine::Kind::DialFail)
        m_dialUp.setDialScript(SimulatedDialUp::failingDial(line.states, line.code));
    else
        m_dialUp.setDialScript(SimulatedDialUp::successfulDial(line.value.isEmpty() ? u"10.0.0.2"_s : line.value));
    data.Status().DialEntry(line.name, 0);
}

void Simulation::run(const ScriptLine& line, TDataShare& data)
{
    using K = ScriptLine::Kind;
    switch (line.kind) {
    case K::Connection:
        if (const auto it = m_connections.constFind(line.name); it != m_connections.cend()) {
            m_dialUp.setConnectionState(*it, line.state);
            if (!line.value.isEmpty())
                m_dialUp.setConnectionIp(*it, line.value);
        } else {
            m_connections.insert(line.name, m_dialUp.addConnection(line.name, line.state, line.value));
        }
        return;
    case K::Gone:
        for (const DialUpConnection& c : m_dialUp.connections().value)
            if (c.entry == line.name)
                m_dialUp.removeConnection(c.handle);
        m_connections.remove(line.name);
        return;
    case K::Dial:
    case K::DialFail:
        dial(line, data);
        return;
    case K::CallDialling: {
        m_callInfo = {};
        m_callInfo.displayableAddress = line.name;
        m_callInfo.appName = line.value.isEmpty() ? u"Simulazione"_s : line.value;
        m_callInfo.lineDeviceId = m_device;
        m_call = m_line.addCall(m_device, m_callInfo);
        m_line.setCallState(m_call, LineCallState::Dialing);
        return;
    }
    case K::CallConnected:
        if (line.code > 0) {
            m_callInfo.rate = line.code;
            m_line.setCallInfo(m_call, m_callInfo);
        }
        m_line.setCallState(m_call, LineCallState::Connected);
        return;
    case K::CallIdle:
        m_line.setCallState(m_call, LineCallState::Disconnected, LineDisconnectMode::Normal);
        m_line.setCallState(m_call, LineCallState::Idle);
        return;
    case K::Traffic:
        m_traffic.setCounters(Interface, line.sent, line.received);
        return;
    case K::ManualStart:
        data.Status().SetEntryName(ManualStartKey());
        SendMtxEvent(TMtxEvent::ManualStart);
        return;
    case K::ManualStop:
        SendMtxEvent(TMtxEvent::ManualStop);
        return;
    case K::Crash:
        // As a power cut: no destructor runs and nothing more is saved.
        std::fflush(nullptr);
        std::_Exit(0);
    }
}

} // namespace vestrel::cli
