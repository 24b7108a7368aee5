#pragma once

#include "LineService.h"
#include "ScriptTimeline.h"

#include <QMap>

#include <vector>

namespace vestrel::platform {

// A scripted telephone line: devices with their media modes and calls that go through given
// states, with number, application and rate, at given moments of the Clock. Messages reach the
// handler only for calls on the device opened with openMonitor.
class SimulatedLine final : public LineService {
public:
    struct Device {
        QString name;
        quint32 mediaModes = LineMediaMode::DataModem;
    };
    // A state reached `atMs` after the script starts.
    struct CallStep {
        qint64 atMs = 0;
        quint32 state = LineCallState::Idle;
        quint32 mode = 0;
    };
    enum class Operation { Initialize, DeviceCaps, Open, Close, CallInfo, Deallocate, Shutdown };

    explicit SimulatedLine(std::vector<Device> devices = {});
    ~SimulatedLine() override;

    // The new device's identifier.
    qint32 addDevice(const QString& name, quint32 mediaModes = LineMediaMode::DataModem);
    // The next `times` calls of one operation fail with `code`.
    void failNext(Operation operation, LineCode code, int times = 1);

    // A new call on the device, in no state yet; nothing is sent.
    LineCallHandle addCall(qint32 deviceId, const LineCallInfo& info = {});
    // Changes the call's information and sends the call-information message.
    void setCallInfo(LineCallHandle call, const LineCallInfo& info);
    // Sends the call-state message.
    void setCallState(LineCallHandle call, quint32 state, quint32 mode = 0);
    // A call appearing with `info` at the first step and going through the steps; times from now.
    void scriptCall(qint32 deviceId, const LineCallInfo& info, std::vector<CallStep> steps);
    void after(qint64 ms, ScriptTimeline::Step step);

    bool isInitialized() const { return bool(m_handler); }
    // The device being watched, -1 when none.
    qint32 monitoredDevice() const;
    const std::vector<LineCallHandle>& deallocated() const { return m_deallocated; }

    LineResult<qint32> initialize(const QString& appName, LineMessageHandler handler) override;
    LineCode shutdown() override;
    LineResult<LineDeviceCaps> deviceCaps(qint32 deviceId) override;
    LineResult<LineHandle> openMonitor(qint32 deviceId) override;
    LineCode close(LineHandle line) override;
    LineResult<LineCallInfo> callInfo(LineCallHandle call) override;
    LineCode deallocateCall(LineCallHandle call) override;

private:
    struct Call {
        LineCallHandle handle;
        qint32 deviceId;
        LineCallInfo info;
        bool allocated;
    };
    struct OpenLine {
        LineHandle handle;
        qint32 deviceId;
    };
    Call* find(LineCallHandle call);
    LineCode failure(Operation operation);
    void send(const Call& call, qint32 message, qint64 p1, qint64 p2);

    std::vector<Device> m_devices;
    std::vector<Call> m_calls;
    std::vector<OpenLine> m_lines;
    LineMessageHandler m_handler;
    LineCallHandle m_nextCall = 0x100;
    LineHandle m_nextLine = 1;
    QMap<Operation, std::pair<LineCode, int>> m_nextFailures;
    std::vector<LineCallHandle> m_deallocated;
    ScriptTimeline m_timeline;
};

} // namespace vestrel::platform
