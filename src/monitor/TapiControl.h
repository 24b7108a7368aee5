#pragma once

#include "platform/LineService.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vestrel {

class VestrelError;

// The data of the call being watched.
struct TCallInfo {
    QString AppName;
    // The displayable address of the call.
    QString CallNumber;
    // Bits per second.
    int Rate = 0;
    QString CallerID;
    QString CalledID;
    int LineDeviceID = 0;
};

struct TDevice {
    int Id = 0;
    QString Name;
};
using TDeviceList = std::vector<TDevice>;

class TTapiControl;
using TNotifyError = std::function<void(TTapiControl* sender, const QString& error)>;
using TNotifyTapiEvent = std::function<void(TTapiControl* sender, const TCallInfo& callInfo)>;
using TNotifyTapiMsg = std::function<void(TTapiControl* sender, quint64 hDevice, int msg, qint64 param1,
                                          qint64 param2, qint64 param3)>;
using TChangeLineState = std::function<void(TTapiControl* sender, const QString& stato, quint64 hDevice,
                                            qint64 param1, qint64 param2, qint64 param3)>;

// Watches one telephone-line device with monitor rights: it learns when any program dials,
// connects or hangs up through it, with the call's data, but places and drops nothing.
// Failures go to OnError and, with RaiseOnError, are raised as VestrelError too.
class TTapiControl : public QObject {
public:
    explicit TTapiControl(QObject* owner = nullptr);
    explicit TTapiControl(platform::LineService& service, QObject* owner = nullptr);
    ~TTapiControl() override;

    bool RaiseOnError() const { return m_raiseOnError; }
    void SetRaiseOnError(bool on) { m_raiseOnError = on; }

    void Initialize();
    void Shutdown();
    // The devices that handle data-modem or mixed calls; built once.
    const TDeviceList& Devices();
    // By name, ignoring case; -1 when none.
    int IndexOfDevice(const QString& name);
    void StartMonitor(const TDevice& device);
    void StopMonitor();

    const TCallInfo& CallInfo() const { return m_callInfo; }
    std::optional<TDevice> MonitoredDevice() const { return m_monitored; }
    int DeviceCount() const { return m_deviceCount; }

    // The standard description of a call state and of one of its modes; for tests and logs.
    static QString CallStateText(quint32 state);
    static QString CallStateModeText(quint32 state, quint32 mode);

    TNotifyError OnError;
    // Not raised by the component.
    TNotifyError OnException;
    TNotifyTapiEvent OnNewCallInfo;
    TNotifyTapiEvent OnConnected;
    TNotifyTapiEvent OnDisconnected;
    TNotifyTapiEvent OnDialing;
    TNotifyTapiEvent OnProceeding;
    TNotifyTapiMsg OnNotifyTapiMsg;
    TChangeLineState OnChangeLineState;
    // Where a failure inside a line message goes (the application's exception handler), its text
    // prefixed with "Eccezione nella LineCallBack "; a warning on stderr while unset.
    std::function<void(const VestrelError& error)> OnCallbackException;

private:
    void initializeOrFail();
    void closeLine();
    void lineCallback(platform::LineCallHandle handle, qint32 msg, qint64 p1, qint64 p2, qint64 p3);
    void dispatch(platform::LineCallHandle handle, qint32 msg, qint64 p1, qint64 p2, qint64 p3);
    void callState(platform::LineCallHandle call, quint32 state, quint32 mode);
    void readCallInfo(platform::LineCallHandle call);
    QString lineStateDescription(quint32 state, quint32 mode) const;
    // Ends the operation with "Fallita la " + function + ": " + text; the public operation
    // reports it through OnError and, with RaiseOnError, raises it.
    [[noreturn]] void failed(const QString& function, platform::LineCode code);
    void report(const QString& text);

    platform::LineService& m_service;
    bool m_initialized = false;
    bool m_monitoring = false;
    platform::LineHandle m_line = 0;
    int m_deviceCount = 0;
    std::optional<TDeviceList> m_devices;
    TCallInfo m_callInfo;
    std::optional<TDevice> m_monitored;
    bool m_raiseOnError = true;
};

} // namespace vestrel
