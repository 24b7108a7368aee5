#include "Status.h"

#include "MatrixStatus.h"
#include "Performance.h"
#include "RasControl.h"

#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "common/Formats.h"
#include "common/Notices.h"
#include "common/Sounds.h"
#include "common/SystemInfo.h"
#include "common/Timer.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "platform/DialUpService.h"
#include "store/StoreRegistry.h"
#include "tariff/CostEngine.h"
#include "tariff/Taxations.h"

#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

TStatus* g_status = nullptr;

QString NoEntryText()
{
    return u"(Nessuna)"_s;
}

QString wholeLire(double lire)
{
    return QString::number(qint64(std::trunc(lire)));
}

} // namespace

const store::ClassInfo& TStatus::staticClassInfo()
{
    using T = TStatus;
    static const store::ClassInfo info =
        store::ClassBuilder<T>("TStatus", &TPersistentComponent::staticClassInfo())
            .integer("NumScatti", &T::NumScatti, &T::SetNumScatti)
            .floating("CostoLire", &T::CostoLire, &T::SetCostoLire)
            .floating("Time", &T::Time, &T::SetTime)
            .floating("StartTime", &T::StartTime, &T::SetStartTime)
            .integer("CallRate", &T::CallRate, &T::SetCallRate)
            .string("EntryName", &T::EntryName, &T::SetEntryName)
            .string("DinamicIP", &T::DinamicIP, &T::SetDinamicIP)
            .string("DialingNumber", &T::DialingNumber, &T::SetDialingNumber)
            .string("AppName", &T::AppName, &T::SetAppName)
            .string("DefaultTax", &T::DefaultTax, &T::SetDefaultTax)
            .integer("BytesTransmitted", &T::BytesTransmitted, &T::SetBytesTransmitted)
            .integer("BytesReceived", &T::BytesReceived, &T::SetBytesReceived)
            .build();
    return info;
}

TStatus::TStatus(TSettings* settings, QObject* owner)
    : TPersistentComponent(owner), m_settings(settings),
      m_timer(new Timer(this, u"FTimerCheckStatus"_s, 1000))
{
    connect(m_timer, &Timer::timeout, this, &TStatus::tick);
}

TStatus::~TStatus()
{
    SaveOnDestroy();
    if (g_status == this)
        g_status = nullptr;
}

qint64 TStatus::nowTick() const
{
    return Clock::instance().tickMs();
}

void TStatus::SetNumScatti(qint32 value)
{
    if (value == m_numScatti)
        return;
    m_numScatti = value;
    SetModified(true);
    if (value > 0) {
        PlayEvent(u"Ring"_s);
        m_preAlertDone = false;
    }
    if (m_elapsed % 7 == 0)
        SaveNow();
    if (OnScattiChanged)
        OnScattiChanged(this);
}

void TStatus::SetCostoLire(double value)
{
    assign(m_costoLire, value);
    if (OnCostChanged)
        OnCostChanged(this);
}

void TStatus::SetTime(TDateTime value)
{
    if (value == m_time)
        return;
    m_time = value;
    SetModified(true);
    if (OnTimeChanged)
        OnTimeChanged(this);
}

void TStatus::SetCallRate(qint32 value)
{
    if (value == m_callRate)
        return;
    assign(m_callRate, value);
    if (OnCallRateChanged)
        OnCallRateChanged(this);
}

void TStatus::SetBytesTransmitted(quint32 value)
{
    if (value == m_bytesTransmitted)
        return;
    assign(m_bytesTransmitted, value);
    if (OnBytesTransmittedChanged)
        OnBytesTransmittedChanged(this);
}

void TStatus::SetBytesReceived(quint32 value)
{
    if (value == m_bytesReceived)
        return;
    assign(m_bytesReceived, value);
    if (OnBytesReceivedChanged)
        OnBytesReceivedChanged(this);
}

void TStatus::SetDialingNumber(const QString& value)
{
    if (value == m_dialingNumber)
        return;
    assign(m_dialingNumber, value);
    const QString prefix = m_settings ? m_settings->InternationalPrefix().trimmed() : QString();
    if (!prefix.isEmpty() && value.trimmed().startsWith(prefix) && OnInternationalNumber)
        OnInternationalNumber(this, value);
}

QString TStatus::EntryName() const
{
    return IsManualStart() ? ManualStartCaption() : m_entryName;
}

bool TStatus::IsManualStart() const
{
    return m_entryName == ManualStartKey();
}

bool TStatus::HasEntryName() const
{
    const QString name = EntryName().trimmed();
    return !name.isEmpty() && name != NoEntryText();
}

void TStatus::SetEntryName(const QString& value)
{
    if (value == m_entryName)
        return;
    m_entryName = value;
    m_entry = nullptr;
    if (!value.isEmpty() && m_settings) {
        const TKindEntry kind = value == ManualStartKey()                          ? keManual
                                : platform::DialUpService::instance().isEntry(value) ? keRAS
                                                                                   : keTAPI;
        m_entry = m_settings->Entrys().FindOrAdd(value, kind);
    }
    SetModified(true);
    if (!Loading())
        applyEntryTax();
}

void TStatus::applyEntryTax()
{
    if (IsManualStart()) {
        if (OnTaxNeeded)
            OnTaxNeeded(this);
        return;
    }
    if (!HasEntryName())
        return;
    const int index = m_settings ? m_settings->Entrys().IndexOfName(m_entryName) : -1;
    TTaxItem* tax = nullptr;
    if (index >= 0) {
        const QString taxName = m_settings->Entrys()[index]->TaxName();
        ShowNotice(Balloon::Notice, u"Imposto la tariffa "_s + taxName +
                                        u" associata alla connessione "_s + EntryName());
        tax = m_taxations ? m_taxations->FindTax(taxName) : nullptr;
    }
    if (tax)
        SetTax(tax);
    else if (OnTaxNeeded)
        OnTaxNeeded(this);
}

void TStatus::SetTax(TTaxItem* tax)
{
    if (!tax) {
        m_tax = nullptr;
        return;
    }
    if (tax == m_tax)
        return;
    TTaxItem* previous = m_tax;
    m_tax = tax;
    SetDefaultTax(tax->DisplayName());
    if (IsConnectionCounting()) {
        if (previous && previous->BonusMese() > 0)
            previous->SetBonusDisponibile(m_bonusAtStart);
        const TTaxCost cost = tax->IntervalCost(m_startTime, EndTime());
        SetCostoLire(cost.Lire);
        SetNumScatti(qint32(cost.Scatti));
        if (m_elapsed < qint64(tax->BonusDisponibile())) {
            m_bonusAtStart = tax->BonusDisponibile();
            tax->SetBonusDisponibile(quint32(tax->BonusDisponibile() - m_elapsed));
        } else {
            tax->SetBonusDisponibile(0);
        }
        m_bonusUpdatedAt = m_elapsed;
    }
    if (HasEntryName() && m_settings)
        m_settings->Entrys().AssignTax(m_entryName, tax->DisplayName());
    if (OnTaxChanged)
        OnTaxChanged(this, previous);
}

void TStatus::SetLastRasFailure(int error, int state)
{
    m_lastRasError = error;
    m_lastRasState = state;
}

void TStatus::StartPreCounting(bool useDialAllowance)
{
    m_startTick = nowTick();
    SetStartTime(DropMilliseconds(Now()));
    if (!useDialAllowance)
        m_dialAllowance = 0;
    else if (m_entry && m_dialedByProgram)
        m_dialAllowance = m_entry->DialTime();
    else
        m_dialAllowance = m_settings ? m_settings->DialTimeTAPI() : 0;
    m_elapsed = -m_dialAllowance;
    if (OnPreCountingStarted)
        OnPreCountingStarted(this);
}

void TStatus::StartCounting()
{
    if (m_startTime == 0 || m_elapsed < 0 || !m_startTick)
        StartPreCounting(false);
    ChargeAnswer(false);
    m_minLimiteArmed = true;
    SaveNow();
    if (OnCountingStarted)
        OnCountingStarted(this);
}

void TStatus::ChargeAnswer(bool quiet)
{
    m_answerCharged = true;
    if (!m_tax)
        return;
    const TTaxCost cost = m_tax->AnswerCost(m_startTime);
    SetCostoLire(cost.Lire);
    SetNumScatti(qint32(cost.Scatti));
    m_bonusUpdatedAt = 0;
    if (m_tax->IsTat() && !quiet) {
        PlayEvent(u"Ring"_s);
        m_preAlertDone = false;
    }
}

TConnectionData TStatus::currentConnection() const
{
    TConnectionData data;
    data.Start = m_startTime;
    data.End = EndTime();
    data.Pulses = m_numScatti;
    data.Lire = m_costoLire;
    data.Name = EntryName();
    data.IpAddress = m_dinamicIP;
    data.Speed = m_callRate;
    data.BytesSent = m_bytesTransmitted;
    data.BytesReceived = m_bytesReceived;
    return data;
}

void TStatus::StopCounting()
{
    if (IsConnectionCounting()) {
        if (IsMtxState(TMtxState::RasStart)) {
            // Never came online: the raw name changes, without the entry and tariff rules.
            assign(m_entryName, u"Errore RAS - "_s + EntryName());
        }
        UpdateCharges();
        if (m_performance) {
            m_performance->ReadNow();
            m_performance->SetActiveRAS(false);
        }
        LogConnection();
    }
    ResetCounters();
}

bool TStatus::LogConnection()
{
    const bool valid = m_startTick && m_startTime != 0 && EndTime() >= m_startTime;
    TConnectionData data;
    if (valid) {
        data = currentConnection();
        m_lastConnection = data;
        m_lastCost = data.Lire;
        if (m_log)
            m_log->AddConnection(data);
    }
    ResetCounters();
    if (valid && OnConnectionLogged)
        OnConnectionLogged(this, data);
    return valid;
}

void TStatus::Responding()
{
    LogConnection();
    if (m_lastCost > 0)
        ShowNotice(Balloon::Notice, u"La connessione a vuoto è costata "_s + wholeLire(m_lastCost) +
                                        u" £ire\rMaledizione! @#@##"_s);
}

void TStatus::ResolveRasFailure()
{
    if (m_costoLire == 0) {
        ChargeAnswer(true);
        m_startTick = nowTick();
        SetStartTime(DropMilliseconds(Now()));
    }
    const int kind = TRasControl::ClassifyDialFailure(m_lastRasError, m_lastRasState);
    const bool ask = m_settings && (m_settings->AskRespondingCall() || m_dialedByProgram);
    if (!(m_costoLire > 0) || !ask) {
        SendMtxEvent(TMtxEvent::RasError);
        return;
    }
    SendMtxEvent(kind == 0 ? TMtxEvent::Answered : kind == 1 ? TMtxEvent::AskHold : TMtxEvent::RasError);
}

void TStatus::ResolveTapiFailure()
{
    if (m_costoLire == 0) {
        ChargeAnswer(true);
        m_startTick = nowTick();
        SetStartTime(DropMilliseconds(Now()));
    }
    const bool ask = m_settings && (m_settings->AskRespondingCall() || m_dialedByProgram);
    SendMtxEvent(m_costoLire > 0 && ask ? TMtxEvent::AskHold : TMtxEvent::TapiIdle);
}

void TStatus::ResetCounters()
{
    // The figures are cleared without their events: the window keeps the last ones on show
    // until the next connection starts.
    m_answerCharged = false;
    m_minLimiteArmed = false;
    assign(m_costoLire, 0.0);
    assign(m_time, 0.0);
    assign(m_numScatti, 0);
    m_remaining = 0;
    m_pulseMark = 0;
    m_bonusUpdatedAt = 0;
    m_periodFraction = 0;
    m_periodCarry = 0;
    m_sinceMark = 0;
    m_elapsed = 0;
    m_startTick.reset();
    m_bonusAtStart = 0;
    m_dialedByProgram = false;
    m_scheduledDisconnect = 0;
    SetStartTime(0);
    SetCallRate(0);
    SetDialingNumber({});
    SetEntryName({});
    SetAppName({});
    SetDinamicIP({});
    SetBytesTransmitted(0);
    SetBytesReceived(0);
    SaveNow();
}

void TStatus::DialEntry(const QString& entry, int delayMs)
{
    if (OnDialRequested)
        OnDialRequested(this, entry, delayMs);
    m_dialedByProgram = true;
}

void TStatus::SaveNow()
{
    // A clean store already equals its file: the end of a connection resets (and saves) up to
    // three times in a row, and only the first write has anything to write.
    if (!FileName().isEmpty() && Modified())
        Save();
}

QString TStatus::ConnectionStateText() const
{
    for (int s = 0; s < MtxStateCount; ++s)
        if (IsMtxState(TMtxState(s)))
            return StateDescription(TMtxState(s));
    return u"Nessuna connessione attiva"_s;
}

void TStatus::DoLoaded()
{
    TPersistentComponent::DoLoaded();
    recoverUnsavedConnection();
    ResetCounters();
    m_timer->start();
}

void TStatus::recoverUnsavedConnection()
{
    if (m_startTime == 0 || EndTime() < m_startTime || EntryName().trimmed().isEmpty())
        return;
    const QString question =
        u"Attenzione: la connessione «"_s + EntryName() + u"» di "_s +
        FormatDateTime(u"dddd d mmmm yyyy"_s, m_startTime) + u" delle "_s +
        FormatDateTime(u"h:nn"_s, m_startTime) +
        u"\rnon è stata salvata probabilmente per un blocco del sistema @#@##!\r"_s + OSName() +
        u" sei grande!\r\r«Sì» per aggiungere la connessione\r«No» per ignorarla (non sarà "
        u"visualizzata nelle statistiche)\r\r[Durata: "_s +
        FormatDuration(m_time) + u" spesa: "_s + wholeLire(m_costoLire) + u" lire]"_s;
    m_questionPending = true;
    const bool add = AskYesNo(question) == DialogAnswer::Yes;
    m_questionPending = false;
    if (add && m_log)
        m_log->AddConnection(currentConnection());
}

void RegisterMonitorStores()
{
    store::StoreRegistry::Register("TStatus", [] { return std::make_unique<TStatus>(nullptr); });
}

void SetCurrentStatus(TStatus* status)
{
    g_status = status;
}

TStatus* CurrentStatus()
{
    return g_status;
}

bool TStatus::IsConnectionCounting() const
{
    return HasStartTick() && (IsMtxState(TMtxState::ManualStart) || IsMtxState(TMtxState::TapiStart) ||
                              IsMtxState(TMtxState::RasStart) || IsMtxState(TMtxState::RasConnected));
}

bool TStatus::IsDialCounting() const
{
    return HasStartTick() && (IsMtxState(TMtxState::TapiDialing) || IsMtxState(TMtxState::RasDialing));
}

bool HasStartTick()
{
    return g_status && g_status->HasStartTick();
}

bool IsConnectionCounting()
{
    return g_status && g_status->IsConnectionCounting();
}

bool IsDialCounting()
{
    return g_status && g_status->IsDialCounting();
}

bool IsRasDialCounting()
{
    return HasStartTick() && IsMtxState(TMtxState::RasDialing);
}

} // namespace vestrel
