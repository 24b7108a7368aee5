#include "RasControl.h"

#include "RasGlobals.h"

#include "common/Clock.h"
#include "common/Timer.h"

#include <QPointer>
#include <QThread>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using namespace vestrel::platform;

namespace {
// How long HangUp lets pass between two looks at a connection that is going.
constexpr int HangUpPauseMs = 20;
} // namespace

TRasControl::TRasControl(QObject* owner) : TRasControl(DialUpService::instance(), owner) {}

TRasControl::TRasControl(DialUpService& service, QObject* owner)
    : QObject(owner),
      m_service(service),
      m_pollTimer(new Timer(this, u"FTimerCheckConnectionRasControl"_s, 1000)),
      m_pause([](int ms) { QThread::msleep(ulong(ms)); })
{
    setObjectName(u"RasMonitor"_s);
    connect(m_pollTimer, &Timer::timeout, this, &TRasControl::pollTick);
    InstallRasErrorTexts();
}

TRasControl::~TRasControl() = default;

bool TRasControl::CheckBusy() const
{
    return m_pollTimer->isEnabled();
}

void TRasControl::SetCheckBusy(bool on)
{
    m_pollTimer->setEnabled(on);
}

void TRasControl::SetHangUpPause(std::function<void(int ms)> pause)
{
    m_pause = std::move(pause);
}

DialUpCode TRasControl::called(const QString& function, DialUpCode code)
{
    if (code != DialUpUnavailable)
        ras::SetLastRasAPI(function);
    return code;
}

void TRasControl::report(const QString& text, DialUpCode code)
{
    ras::ReportFailure(code == DialUpOk ? text : text + RasErrorText(code));
}

void TRasControl::pollTick()
{
    // A poll asked for by a dial or a hang-up is under way: this tick has nothing to add. After a
    // failed poll the timer's work is over for the rest of the run.
    if (m_checking || m_pollStopped)
        return;
    CheckConnection();
}

void TRasControl::raise(const TRasNotifyEvent& event, const QString& procedure)
{
    ras::SetRasControlProcedure(procedure);
    if (event)
        event(this);
}

void TRasControl::CheckConnection()
{
    const bool outer = !m_checking;
    m_checking = true;
    try {
        ras::SetRasControlProcedure(u"DoCheckConnection"_s);
        const int before = m_connectionsCount;
        const TLineState state = ProbeLineState();
        if (m_connectionsCount != before)
            raise(OnRasChangeConnectionsNumber, u"DoRasChangeConnectionsNumber"_s);
        if (state != LineUnknown && state != m_lineState) {
            m_lineState = state;
            switch (state) {
            case LineOffline: raise(OnRasOffLine, u"DoRasOffLine"_s); break;
            case LineDialing: raise(OnRasDialing, u"DoRasDialing"_s); break;
            case LineConnecting: raise(OnRasConnecting, u"DoRasConnecting"_s); break;
            case LineOnline: raise(OnRasOnLine, u"DoRasOnLine"_s); break;
            case LineUnknown: break;
            }
        }
    } catch (...) {
        m_pollTimer->stop();
        m_pollStopped = true;
        if (outer)
            m_checking = false;
        throw;
    }
    if (outer)
        m_checking = false;
}

TLineState TRasControl::ProbeLineState()
{
    const DialUpResult<std::vector<DialUpConnection>> list = m_service.connections();
    if (called(u"RasEnumConnections"_s, list.code) != DialUpOk)
        return LineUnknown;
    m_connectionsCount = int(list.value.size());
    if (list.value.empty())
        return LineOffline;
    // Only the first connection drives the line state.
    const DialUpResult<qint32> status = m_service.connectionState(list.value.front().handle);
    if (called(u"RasGetConnectStatus"_s, status.code) != DialUpOk)
        return LineUnknown;
    const qint32 s = status.value;
    if (s >= DialUpState::OpeningPort && s <= DialUpState::ConnectingDevice)
        return LineDialing;
    if (s >= DialUpState::DeviceConnected && s <= DialUpState::LastSetUpState)
        return LineConnecting;
    if (s == DialUpState::Connected)
        return LineOnline;
    if (s == DialUpState::Disconnected)
        return LineOffline;
    return LineUnknown;
}

bool TRasControl::HasConnections()
{
    const DialUpResult<std::vector<DialUpConnection>> list = m_service.connections();
    return called(u"RasEnumConnections"_s, list.code) == DialUpOk && !list.value.empty();
}

void TRasControl::Dial(const QString& entry, const QString& userName, const QString& password)
{
    m_entry = entry;
    m_userName = userName;
    m_password = password;
    m_phoneNumber = EntryPhoneNumber(entry);
    m_dialHandle = 0;
    // A dial that fails before any progress must not be judged by the previous dial's progress.
    m_lastDialState = DialUpState::OpeningPort;
    if (OnRasStartConnecting)
        OnRasStartConnecting(this, entry, userName, password, m_phoneNumber);
    QPointer<TRasControl> self(this);
    const DialUpResult<DialUpHandle> dialled =
        m_service.dial(entry, userName, password, [self](DialUpHandle handle, qint32 state, DialUpCode error) {
            if (self)
                self->dialProgress(handle, state, error);
        });
    called(u"RasDial"_s, dialled.code);
    m_dialHandle = dialled.value;
    if (!dialled.ok())
        dialFailure(dialled.code);
}

void TRasControl::dialProgress(DialUpHandle handle, qint32 state, DialUpCode error)
{
    // Progress of a dial that was hung up or replaced by a newer one.
    if (handle == 0 || handle != m_dialHandle)
        return;
    CheckConnection();
    if (error != DialUpOk) {
        dialFailure(error);
        return;
    }
    if (state < DialUpState::OpeningPort || state > DialUpState::LastSetUpState)
        return;
    m_lastDialState = state;
    QString description = DialStateDescription(state);
    if (state == DialUpState::ConnectingDevice)
        description = QString(description + u' ' + m_phoneNumber).trimmed();
    if (OnRasEvent)
        OnRasEvent(this, description);
    if (state == DialUpState::ConnectingDevice && OnRasConnectDevice)
        OnRasConnectDevice(this);
    if (state == DialUpState::DeviceConnected && OnRasDeviceConnected)
        OnRasDeviceConnected(this);
}

void TRasControl::dialFailure(DialUpCode error)
{
    m_lastError = error;
    if (error == DialUpAccessDenied || error == DialUpPasswordExpired ||
        error == DialUpAuthenticationFailed) {
        SetEntryCredentials(m_entry, m_userName, QString(), true);
        if (OnWrongPassword)
            OnWrongPassword(this);
    }
    if (error == DialUpLineBusy) {
        HangUpAll();
        if (OnRasLineBusy)
            OnRasLineBusy(this);
    }
    if (OnRasError)
        OnRasError(this, error, m_lastDialState);
    HangUpAll();
}

void TRasControl::HangUp(DialUpHandle handle)
{
    if (handle == 0)
        return;
    const DialUpCode code = called(u"RasHangUp"_s, m_service.hangUp(handle));
    if (code != DialUpOk) {
        if (code != DialUpNoConnection)
            ras::ReportFailure(u"Fallita la RasHangUp"_s);
        return;
    }
    // Bounded both on the Clock and in pauses, so a clock that stands still cannot hold us here.
    const qint64 start = Clock::instance().tickMs();
    for (int pauses = 0;; ++pauses) {
        const DialUpResult<qint32> status = m_service.connectionState(handle);
        called(u"RasGetConnectStatus"_s, status.code);
        if (status.code == DialUpInvalidHandle || status.code == DialUpUnavailable ||
            (status.ok() && status.value == DialUpState::Disconnected))
            return;
        if (Clock::instance().tickMs() - start >= HangUpWaitMs ||
            pauses >= HangUpWaitMs / HangUpPauseMs) {
            ras::ReportFailure(u"Fallita la RasHangUp: la connessione non si è chiusa entro "_s +
                               QString::number(HangUpWaitMs / 1000) + u" secondi"_s);
            return;
        }
        m_pause(HangUpPauseMs);
    }
}

void TRasControl::HangUpAll()
{
    if (OnRasDisconnecting && HasConnections())
        OnRasDisconnecting(this);
    const DialUpResult<std::vector<DialUpConnection>> list = m_service.connections();
    if (called(u"RasEnumConnections"_s, list.code) != DialUpOk)
        ras::ReportFailure(u"Fallita la RasEnumConnections"_s);
    else
        for (const DialUpConnection& c : list.value)
            HangUp(c.handle);
    if (m_dialHandle != 0) {
        HangUp(m_dialHandle);
        m_dialHandle = 0;
    }
    CheckConnection();
}

} // namespace vestrel
