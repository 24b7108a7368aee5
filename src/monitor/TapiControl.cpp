#include "TapiControl.h"

#include "common/ProcessValues.h"
#include "common/VestrelError.h"

#include <QPointer>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using namespace vestrel::platform;

namespace {

// A failure inside an operation, reported once by the operation that was called.
struct LineFailure {
    QString text;
};

} // namespace

TTapiControl::TTapiControl(QObject* owner) : TTapiControl(LineService::instance(), owner) {}

TTapiControl::TTapiControl(LineService& service, QObject* owner) : QObject(owner), m_service(service)
{
    setObjectName(u"TapiMonitor"_s);
}

TTapiControl::~TTapiControl()
{
    try {
        Shutdown();
    } catch (const VestrelError&) {
        // Nothing can be done about a line that fails to close while the program ends.
    }
}

void TTapiControl::report(const QString& text)
{
    if (OnError)
        OnError(this, text);
    if (m_raiseOnError)
        throw VestrelError(text);
}

void TTapiControl::failed(const QString& function, LineCode code)
{
    throw LineFailure{u"Fallita la "_s + function + u": "_s + m_service.errorText(code)};
}

void TTapiControl::Initialize()
{
    try {
        initializeOrFail();
    } catch (const LineFailure& f) {
        report(f.text);
    }
}

void TTapiControl::initializeOrFail()
{
    if (!m_initialized) {
        QPointer<TTapiControl> self(this);
        const LineResult<qint32> init = m_service.initialize(
            ApplicationTitle(), [self](LineCallHandle h, qint32 msg, qint64 p1, qint64 p2, qint64 p3) {
                if (self)
                    self->lineCallback(h, msg, p1, p2, p3);
            });
        if (!init.ok())
            failed(u"lineInitialize"_s, init.code);
        m_initialized = true;
        m_deviceCount = init.value;
    }
    if (m_deviceCount == 0)
        throw LineFailure{u"Non sono configurati dispositivi TAPI"_s};
}

void TTapiControl::Shutdown()
{
    const bool wasInitialized = m_initialized;
    m_initialized = false;
    m_monitoring = false;
    m_line = 0;
    m_monitored.reset();
    m_devices.reset();
    if (!wasInitialized)
        return;
    if (const LineCode code = m_service.shutdown(); code != LineOk)
        report(u"Fallita la lineShutdown: "_s + m_service.errorText(code));
}

const TDeviceList& TTapiControl::Devices()
{
    if (m_devices)
        return *m_devices;
    Initialize();
    TDeviceList list;
    for (int id = 0; m_initialized && id < m_deviceCount; ++id) {
        // A device that cannot tell what it is, is left out.
        const LineResult<LineDeviceCaps> caps = m_service.deviceCaps(id);
        if (caps.ok() && (caps.value.mediaModes & (LineMediaMode::DataModem | LineMediaMode::Mixed)))
            list.push_back({id, caps.value.name});
    }
    if (!m_initialized) {
        static const TDeviceList none;
        return none;
    }
    m_devices = std::move(list);
    return *m_devices;
}

int TTapiControl::IndexOfDevice(const QString& name)
{
    const TDeviceList& devices = Devices();
    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TTapiControl::StartMonitor(const TDevice& device)
{
    try {
        closeLine();
        initializeOrFail();
        const LineResult<LineHandle> line = m_service.openMonitor(device.Id);
        if (!line.ok())
            failed(u"lineOpen"_s, line.code);
        if (line.value == 0)
            throw LineFailure{u"Fallita l'apertura linea di "_s + device.Name};
        m_line = line.value;
        m_monitored = device;
        m_monitoring = true;
    } catch (const LineFailure& f) {
        report(u"Fallita la StartMonitorDevice su "_s + device.Name + u' ' + f.text);
    }
}

void TTapiControl::StopMonitor()
{
    try {
        closeLine();
    } catch (const LineFailure& f) {
        report(f.text);
    }
}

void TTapiControl::closeLine()
{
    const LineHandle line = m_line;
    m_monitoring = false;
    m_line = 0;
    m_monitored.reset();
    if (line == 0)
        return;
    if (const LineCode code = m_service.close(line); code != LineOk)
        failed(u"lineClose"_s, code);
}

void TTapiControl::lineCallback(LineCallHandle handle, qint32 msg, qint64 p1, qint64 p2, qint64 p3)
{
    if (!m_monitoring)
        return;
    // Nothing leaves the callback: the failure goes to the application's handler.
    std::optional<VestrelError> failure;
    try {
        dispatch(handle, msg, p1, p2, p3);
    } catch (const VestrelError& e) {
        failure.emplace(u"Eccezione nella LineCallBack "_s + e.message());
    } catch (const std::exception& e) {
        failure.emplace(u"Eccezione nella LineCallBack "_s + QString::fromUtf8(e.what()));
    }
    if (!failure)
        return;
    if (OnCallbackException)
        OnCallbackException(*failure);
    else
        qWarning("%s", failure->what());
}

void TTapiControl::dispatch(LineCallHandle handle, qint32 msg, qint64 p1, qint64 p2, qint64 p3)
{
    if (msg == LineMessage::CallInfo) {
        readCallInfo(handle);
        if (OnNewCallInfo)
            OnNewCallInfo(this, m_callInfo);
    } else if (msg == LineMessage::CallState) {
        callState(handle, quint32(p1), quint32(p2));
        if (OnChangeLineState)
            OnChangeLineState(this, lineStateDescription(quint32(p1), quint32(p2)), handle, p1, p2, p3);
    }
    if (OnNotifyTapiMsg)
        OnNotifyTapiMsg(this, handle, msg, p1, p2, p3);
}

void TTapiControl::callState(LineCallHandle call, quint32 state, quint32 mode)
{
    Q_UNUSED(mode);
    const TNotifyTapiEvent* event = nullptr;
    switch (state) {
    case LineCallState::Idle: event = &OnDisconnected; break;
    case LineCallState::Dialing: event = &OnDialing; break;
    case LineCallState::Connected: event = &OnConnected; break;
    case LineCallState::Proceeding: event = &OnProceeding; break;
    case LineCallState::Disconnected: event = &OnDisconnected; break;
    default: return;
    }
    try {
        readCallInfo(call);
        if (*event)
            (*event)(this, m_callInfo);
    } catch (...) {
        m_service.deallocateCall(call);
        throw;
    }
    // An idle call is over: its handle is released.
    if (state == LineCallState::Idle)
        m_service.deallocateCall(call);
}

void TTapiControl::readCallInfo(LineCallHandle call)
{
    const LineResult<LineCallInfo> info = m_service.callInfo(call);
    if (!info.ok()) {
        const QString text = u"Fallita la lineGetCallInfo: "_s + m_service.errorText(info.code);
        // A call that is already gone is worth a note, not a failure.
        if (info.code == LineErrInvalCallHandle) {
            if (OnError)
                OnError(this, text);
        } else {
            report(text);
        }
        return;
    }
    const LineCallInfo& v = info.value;
    if (v.appName)
        m_callInfo.AppName = *v.appName;
    if (v.callerId)
        m_callInfo.CallerID = *v.callerId;
    if (v.calledId)
        m_callInfo.CalledID = *v.calledId;
    if (v.displayableAddress)
        m_callInfo.CallNumber = *v.displayableAddress;
    m_callInfo.Rate = v.rate;
    m_callInfo.LineDeviceID = v.lineDeviceId;
}

QString TTapiControl::lineStateDescription(quint32 state, quint32 mode) const
{
    QString text = CallStateText(state);
    if (text.isEmpty())
        return u"*** LINECALLSTATE NON GESTITO ***"_s;
    const QString modeText = CallStateModeText(state, mode);
    if (!modeText.isEmpty())
        text += u" - "_s + modeText;
    if (state == LineCallState::Connected)
        text += u" * AppName: "_s + m_callInfo.AppName + u" dwLineDeviceID: "_s +
                QString::number(m_callInfo.LineDeviceID) + u" connesso a "_s +
                QString::number(m_callInfo.Rate);
    return text;
}

} // namespace vestrel
