#include "DataShare.h"

#include "AskHoldTimer.h"
#include "Dialer.h"
#include "DialerStart.h"
#include "Disconnection.h"
#include "TimeLimitWatch.h"
#include "MatrixStatus.h"
#include "Performance.h"
#include "ProcessControl.h"
#include "RasControl.h"
#include "Status.h"
#include "SysResource9x.h"
#include "TapiControl.h"

#include "common/Notices.h"
#include "config/Settings.h"
#include "platform/DialUpService.h"
#include "services/WaveSounds.h"
#include "tariff/Agenda.h"
#include "tariff/HolidayCalendar.h"

#include <limits>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {
// The status keeps 32-bit byte counts; a larger count stays at the largest it can hold.
quint32 clamped(quint64 value)
{
    return quint32(std::min<quint64>(value, std::numeric_limits<quint32>::max()));
}
} // namespace

TDataShare::TDataShare(TSettings& settings, TTaxations& taxations, TDataUnits& log, QObject* owner)
    : QObject(owner), m_settings(settings), m_machine(std::make_unique<TMtxMatrixStatus>()),
      m_agenda(std::make_unique<TAgenda>()), m_status(std::make_unique<TStatus>(&settings)),
      m_ras(std::make_unique<TRasControl>()), m_tapi(std::make_unique<TTapiControl>()),
      m_askHold(std::make_unique<TAskHoldTimer>()), m_performance(std::make_unique<TPerformance>()),
      m_resources(std::make_unique<TSysResource9x>()), m_launcher(std::make_unique<TProcessControl>()),
      m_disconnection(std::make_unique<TDisconnection>(*m_ras)),
      m_dialer(std::make_unique<TDialer>(*m_status, *m_ras, *m_disconnection)),
      m_timeLimit(std::make_unique<TTimeLimitWatch>(*m_status, *m_disconnection)),
      m_startEntryDial(std::make_unique<TStartEntryDial>(*m_status, *m_ras)),
      m_waveSounds(std::make_unique<TWaveSounds>())
{
    setObjectName(u"DataShare"_s);
    m_agenda->SetName(u"Agenda"_s);
    m_waveSounds->SetName(u"WaveSounds"_s);
    m_status->SetTaxations(&taxations);
    m_status->SetLog(&log);
    m_status->SetPerformance(m_performance.get());
    m_machine->SetEnableDebug(false);
    SetMtxMatrixStatus(m_machine.get(), this);
    SetCurrentStatus(m_status.get());
    HolidayCalendar::setInstance(m_agenda.get());
    TProcessControl::setInstance(m_launcher.get());
    wireMachine();
    wireRas();
    wireTapi();
    wireTraffic();
}

TDataShare::~TDataShare()
{
    BeginShutdown();
    TProcessControl::setInstance(nullptr);
    HolidayCalendar::setInstance(nullptr);
    SetCurrentStatus(nullptr);
    SetMtxMatrixStatus(nullptr, nullptr);
}

void TDataShare::StartMonitoring()
{
    if (!m_noDialUpTold && !platform::DialUpService::instance().available()) {
        m_noDialUpTold = true;
        ShowNotice(Balloon::Notice,
                   u"Nessun servizio di connessione remota trovato: Vestrel conterà gli avvii "
                   u"manuali e le chiamate sulla linea"_s);
    }
    m_ras->SetCheckBusy(true);
    m_resources->SetActive(true);
}

void TDataShare::BeginShutdown()
{
    m_ras->SetCheckBusy(false);
    m_launcher->BeginShutdown();
    m_waveSounds->BeginShutdown();
}

void TDataShare::wireMachine()
{
    TStatus& status = *m_status;
    m_machine->OnStartCounting = [&status](TMtxMatrixStatus*) { status.StartCounting(); };
    m_machine->OnStartPreCounting = [&status](TMtxMatrixStatus*) { status.StartPreCounting(true); };
    m_machine->OnStopCounting = [&status](TMtxMatrixStatus*) { status.StopCounting(); };
    m_machine->OnResponding = [&status](TMtxMatrixStatus*) { status.Responding(); };
    m_machine->OnChangeState = [this](TMtxMatrixStatus* machine, TMtxState, TMtxEvent) {
        m_dialer->ShowMachineState();
        if (machine->State() == TMtxState::Idle)
            m_status->ResetCounters();
        else if (machine->State() == TMtxState::Ask)
            m_askHold->Start();
    };
    status.OnDialRequested = [this](TStatus*, const QString& entry, int delayMs) {
        m_dialer->DialRequested(entry, delayMs);
    };
    m_askHold->OnQuestionPending = [&status](bool pending) { status.SetQuestionPending(pending); };
}

void TDataShare::wireRas()
{
    TRasControl& ras = *m_ras;
    TStatus& status = *m_status;
    ras.OnRasDialing = [](TRasControl*) { SendMtxEvent(TMtxEvent::RasDialing); };
    ras.OnRasConnecting = [this, &status](TRasControl* r) {
        m_performance->SetActiveRAS(true);
        if (status.EntryName().trimmed().isEmpty())
            status.SetEntryName(r->ActiveConnectionName());
        if (status.DialingNumber().trimmed().isEmpty() && r->IsRasEntry(status.EntryName()))
            status.SetDialingNumber(r->EntryPhoneNumber(status.EntryName()));
        SendMtxEvent(TMtxEvent::RasConnecting);
    };
    ras.OnRasOnLine = [this, &status](TRasControl* r) {
        SendMtxEvent(TMtxEvent::RasConnected);
        // A connection seen only once it is up (the Linux backends report no connecting
        // states) is read from here on; one read since connecting goes on as it is.
        m_performance->SetActiveRAS(true);
        status.SetEntryName(r->ActiveConnectionName());
        status.SetDinamicIP(r->ConnectionIPAddress(status.EntryName()));
        if (status.DialingNumber().trimmed().isEmpty())
            status.SetDialingNumber(r->EntryPhoneNumber(status.EntryName()));
        if (status.OnConnected)
            status.OnConnected(&status);
    };
    ras.OnRasOffLine = [](TRasControl*) { SendMtxEvent(TMtxEvent::RasIdle); };
    ras.OnRasError = [this, &status](TRasControl*, int anError, int lastState) {
        status.SetLastRasFailure(anError, lastState);
        m_dialer->DialError(anError, lastState);
        if (IsMtxState(TMtxState::RasDialing))
            status.ResolveRasFailure();
        else
            SendMtxEvent(TMtxEvent::RasError);
    };
    ras.OnRasLineBusy = [this](TRasControl*) {
        SendMtxEvent(TMtxEvent::RasIdle);
        m_dialer->LineBusy();
    };
    ras.OnRasEvent = [this](TRasControl*, const QString& description) { m_dialer->DialProgress(description); };
    ras.OnRasChangeConnectionsNumber = [](TRasControl* r) {
        if (r->ConnectionsCount() > 1)
            ShowNotice(Balloon::Notice,
                       u"Peccato... Vestrel ha rilevato la presenza di connessioni RAS multiple ["_s +
                           QString::number(r->ConnectionsCount()) +
                           u"] \rma non è ancora in grado di gestirne il costo! :("_s);
    };
}

void TDataShare::takeCallNumber(const TCallInfo& call)
{
    if (m_status->DialingNumber().trimmed().isEmpty())
        m_status->SetDialingNumber(call.CallNumber);
    if (!m_ras->IsRasEntry(m_status->EntryName()))
        m_status->SetEntryName(call.CallNumber.trimmed());
}

void TDataShare::wireTapi()
{
    TTapiControl& tapi = *m_tapi;
    tapi.OnDialing = [this](TTapiControl*, const TCallInfo& call) {
        takeCallNumber(call);
        SendMtxEvent(TMtxEvent::TapiDialing);
        ShowNotice(Balloon::Notice,
                   u"Selezione dispositivo TAPI "_s + m_settings.DeviceName() + u" in corso..."_s);
    };
    tapi.OnConnected = [this](TTapiControl*, const TCallInfo& call) {
        if (m_settings.FullTapiMonitor() || IsMtxState(TMtxState::TapiDialing))
            SendMtxEvent(TMtxEvent::TapiConnected);
        m_status->SetAppName(call.AppName);
        takeCallNumber(call);
        if (call.Rate > 0)
            m_status->SetCallRate(call.Rate);
    };
    tapi.OnDisconnected = [this](TTapiControl*, const TCallInfo&) {
        tapiCallEnd();
        ShowNotice(Balloon::Notice, u"Disconnessione dispositivo TAPI "_s + m_settings.DeviceName());
    };
    tapi.OnError = [this](TTapiControl*, const QString&) { tapiCallEnd(); };
}

// The end of a call; a second end reported while the first is handled is ignored.
void TDataShare::tapiCallEnd()
{
    if (m_tapiEnding)
        return;
    m_tapiEnding = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_tapiEnding};
    if (IsMtxState(TMtxState::TapiDialing))
        m_status->ResolveTapiFailure();
    else if (IsMtxState(TMtxState::TapiStart))
        SendMtxEvent(TMtxEvent::TapiIdle);
}

void TDataShare::wireTraffic()
{
    // The service the dial-up monitor watches, so the counters are those of its connection.
    platform::DialUpService& dialUp = platform::DialUpService::instance();
    m_performance->SetConnectionInterface([&dialUp] {
        const platform::DialUpResult<std::vector<platform::DialUpConnection>> list =
            dialUp.connections();
        if (!list.ok() || list.value.empty())
            return QString();
        const platform::DialUpResult<QString> name = dialUp.interfaceName(list.value.front().handle);
        return name.ok() ? name.value : QString();
    });
    m_performance->OnChangeData = [this](const TInstanceData&, int index, quint64 value) {
        if (index == TPerformance::BytesSentCounter)
            m_status->SetBytesTransmitted(clamped(value));
        else if (index == TPerformance::BytesReceivedCounter)
            m_status->SetBytesReceived(clamped(value));
    };
    m_performance->OnError = [this](TPerformance* p, const QString& msg) {
        p->WarnCountersUnavailable(msg, [this](bool pending) { m_status->SetQuestionPending(pending); });
    };
}

} // namespace vestrel
