#include "SimulatedLine.h"

#include <algorithm>
#include <memory>

namespace vestrel::platform {

namespace {
// Which parts of the call information changed: all of them.
constexpr qint64 AllCallInfo = 0xFFFFFF;
} // namespace

SimulatedLine::SimulatedLine(std::vector<Device> devices) : m_devices(std::move(devices)) {}

SimulatedLine::~SimulatedLine() = default;

qint32 SimulatedLine::addDevice(const QString& name, quint32 mediaModes)
{
    m_devices.push_back({name, mediaModes});
    return qint32(m_devices.size()) - 1;
}

void SimulatedLine::failNext(Operation operation, LineCode code, int times)
{
    m_nextFailures.insert(operation, {code, times});
}

LineCode SimulatedLine::failure(Operation operation)
{
    const auto it = m_nextFailures.find(operation);
    if (it == m_nextFailures.end())
        return LineOk;
    const LineCode code = it->first;
    if (--it->second <= 0)
        m_nextFailures.erase(it);
    return code;
}

SimulatedLine::Call* SimulatedLine::find(LineCallHandle call)
{
    const auto it = std::find_if(m_calls.begin(), m_calls.end(),
                                 [&](const Call& c) { return c.handle == call; });
    return it == m_calls.end() ? nullptr : &*it;
}

LineCallHandle SimulatedLine::addCall(qint32 deviceId, const LineCallInfo& info)
{
    Call call{m_nextCall++, deviceId, info, true};
    call.info.lineDeviceId = deviceId;
    m_calls.push_back(call);
    return call.handle;
}

void SimulatedLine::setCallInfo(LineCallHandle call, const LineCallInfo& info)
{
    Call* c = find(call);
    if (!c)
        return;
    c->info = info;
    c->info.lineDeviceId = c->deviceId;
    send(*c, LineMessage::CallInfo, AllCallInfo, 0);
}

void SimulatedLine::setCallState(LineCallHandle call, quint32 state, quint32 mode)
{
    if (const Call* c = find(call))
        send(*c, LineMessage::CallState, state, mode);
}

void SimulatedLine::send(const Call& call, qint32 message, qint64 p1, qint64 p2)
{
    if (!m_handler || !call.allocated || monitoredDevice() != call.deviceId)
        return;
    // A copy: the handler may shut the service down.
    const LineMessageHandler handler = m_handler;
    handler(call.handle, message, p1, p2, 0);
}

void SimulatedLine::scriptCall(qint32 deviceId, const LineCallInfo& info, std::vector<CallStep> steps)
{
    if (steps.empty())
        return;
    auto handle = std::make_shared<LineCallHandle>(0);
    for (auto it = steps.begin(); it != steps.end(); ++it) {
        const CallStep step = *it;
        const bool first = it == steps.begin();
        m_timeline.after(step.atMs, [this, handle, deviceId, info, step, first] {
            if (first)
                *handle = addCall(deviceId, info);
            setCallState(*handle, step.state, step.mode);
        });
    }
}

void SimulatedLine::after(qint64 ms, ScriptTimeline::Step step)
{
    m_timeline.after(ms, std::move(step));
}

qint32 SimulatedLine::monitoredDevice() const
{
    return m_lines.empty() ? -1 : m_lines.front().deviceId;
}

LineResult<qint32> SimulatedLine::initialize(const QString&, LineMessageHandler handler)
{
    if (const LineCode code = failure(Operation::Initialize))
        return {code, 0};
    m_handler = std::move(handler);
    return {LineOk, qint32(m_devices.size())};
}

LineCode SimulatedLine::shutdown()
{
    if (const LineCode code = failure(Operation::Shutdown))
        return code;
    if (!m_handler)
        return LineErrUninitialized;
    m_handler = nullptr;
    m_lines.clear();
    return LineOk;
}

LineResult<LineDeviceCaps> SimulatedLine::deviceCaps(qint32 deviceId)
{
    if (const LineCode code = failure(Operation::DeviceCaps))
        return {code, {}};
    if (!m_handler)
        return {LineErrUninitialized, {}};
    if (deviceId < 0 || deviceId >= qint32(m_devices.size()))
        return {LineErrBadDeviceId, {}};
    const Device& d = m_devices[size_t(deviceId)];
    return {LineOk, {d.name, d.mediaModes}};
}

LineResult<LineHandle> SimulatedLine::openMonitor(qint32 deviceId)
{
    if (const LineCode code = failure(Operation::Open))
        return {code, 0};
    if (!m_handler)
        return {LineErrUninitialized, 0};
    if (deviceId < 0 || deviceId >= qint32(m_devices.size()))
        return {LineErrBadDeviceId, 0};
    if (!(m_devices[size_t(deviceId)].mediaModes & (LineMediaMode::DataModem | LineMediaMode::Mixed)))
        return {LineErrInvalMediaMode, 0};
    const LineHandle line = m_nextLine++;
    m_lines.push_back({line, deviceId});
    return {LineOk, line};
}

LineCode SimulatedLine::close(LineHandle line)
{
    if (const LineCode code = failure(Operation::Close))
        return code;
    const auto removed = std::erase_if(m_lines, [&](const OpenLine& l) { return l.handle == line; });
    return removed ? LineOk : LineErrInvalLineHandle;
}

LineResult<LineCallInfo> SimulatedLine::callInfo(LineCallHandle call)
{
    if (const LineCode code = failure(Operation::CallInfo))
        return {code, {}};
    const Call* c = find(call);
    if (!c || !c->allocated)
        return {LineErrInvalCallHandle, {}};
    return {LineOk, c->info};
}

LineCode SimulatedLine::deallocateCall(LineCallHandle call)
{
    m_deallocated.push_back(call);
    if (const LineCode code = failure(Operation::Deallocate))
        return code;
    Call* c = find(call);
    if (!c || !c->allocated)
        return LineErrInvalCallHandle;
    c->allocated = false;
    return LineOk;
}

} // namespace vestrel::platform
