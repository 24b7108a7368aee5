#pragma once

#include "log/ConnectionData.h"
#include "tariff/TariffTypes.h"

#include "common/DateTime.h"
#include "store/PersistentComponent.h"

#include <functional>
#include <optional>

namespace vestrel {

class TDataUnits;
class TEntryItem;
class TPerformance;
class TProfileItem;
class TSettings;
class TTaxations;
class TTaxItem;
class Timer;

// The running connection ("Status.dat"): when it started, how long it has lasted, which tariff
// and entry apply, the pulses and Lire so far, and the line data picked up on the way. The only
// place where counting happens; the state machine's actions start and stop it, a one-second
// clock advances it, and a finished connection goes to the log. Saved on a short cycle, so a
// connection cut by a crash is offered for logging at the next start.
class TStatus : public store::TPersistentComponent {
public:
    using Notify = std::function<void(TStatus* sender)>;

    explicit TStatus(TSettings* settings, QObject* owner = nullptr);
    ~TStatus() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // What the status works with; none is owned.
    void SetTaxations(TTaxations* taxations) { m_taxations = taxations; }
    void SetLog(TDataUnits* log) { m_log = log; }
    void SetPerformance(TPerformance* performance) { m_performance = performance; }
    void SetProfile(TProfileItem* profile) { m_profile = profile; }
    TSettings* Settings() const { return m_settings; }
    TProfileItem* Profile() const { return m_profile; }
    TEntryItem* Entry() const { return m_entry; }
    TTaxItem* Tax() const { return m_tax; }
    Timer* Clock() const { return m_timer; }

    // Published properties.
    qint32 NumScatti() const { return m_numScatti; }
    void SetNumScatti(qint32 value);
    double CostoLire() const { return m_costoLire; }
    void SetCostoLire(double value);
    TDateTime Time() const { return m_time; }
    void SetTime(TDateTime value);
    TDateTime StartTime() const { return m_startTime; }
    void SetStartTime(TDateTime value) { assign(m_startTime, value); }
    qint32 CallRate() const { return m_callRate; }
    void SetCallRate(qint32 value);
    // "Avvio manuale" for a count started by hand, else the raw value.
    QString EntryName() const;
    void SetEntryName(const QString& value);
    QString DinamicIP() const { return m_dinamicIP; }
    void SetDinamicIP(const QString& value) { assign(m_dinamicIP, value); }
    QString DialingNumber() const { return m_dialingNumber; }
    void SetDialingNumber(const QString& value);
    QString AppName() const { return m_appName; }
    void SetAppName(const QString& value) { assign(m_appName, value); }
    QString DefaultTax() const { return m_defaultTax; }
    void SetDefaultTax(const QString& value) { assign(m_defaultTax, value); }
    quint32 BytesTransmitted() const { return m_bytesTransmitted; }
    void SetBytesTransmitted(quint32 value);
    quint32 BytesReceived() const { return m_bytesReceived; }
    void SetBytesReceived(quint32 value);

    // Working state.
    bool HasStartTick() const { return m_startTick.has_value(); }
    // Counting a connection (the machine in ManualStart, TapiStart, RasStart or RasConnected),
    // or the dialling before it (TapiDialing, RasDialing).
    bool IsConnectionCounting() const;
    bool IsDialCounting() const;
    qint64 Elapsed() const { return m_elapsed; }
    quint32 Remaining() const { return m_remaining; }
    TDateTime RemainingAsTime() const { return m_remaining * 1000.0 / double(MSecsPerDay); }
    TDateTime EndTime() const { return m_time > 0 ? m_startTime + m_time : m_startTime; }
    bool IsManualStart() const;
    bool HasEntryName() const;
    bool AnswerCharged() const { return m_answerCharged; }
    bool QuestionPending() const { return m_questionPending; }
    void SetQuestionPending(bool on) { m_questionPending = on; }
    bool DialedByProgram() const { return m_dialedByProgram; }
    void SetDialedByProgram(bool on) { m_dialedByProgram = on; }
    bool StartedAtWinStart() const { return m_startedAtWinStart; }
    void SetStartedAtWinStart(bool on) { m_startedAtWinStart = on; }
    TDateTime ProgramStart() const { return m_programStart; }
    void SetProgramStart(TDateTime value) { m_programStart = value; }
    TDateTime ScheduledDisconnect() const { return m_scheduledDisconnect; }
    void SetScheduledDisconnect(TDateTime value) { m_scheduledDisconnect = value; }
    bool ShutdownAtDisconnect() const { return m_shutdownAtDisconnect; }
    void SetShutdownAtDisconnect(bool on) { m_shutdownAtDisconnect = on; }
    void SetLastRasFailure(int error, int state);
    const TConnectionData& LastConnection() const { return m_lastConnection; }
    double LastCost() const { return m_lastCost; }
    QString LastComparison() const { return m_lastComparison; }
    void SetLastComparison(const QString& text) { m_lastComparison = text; }
    TFasciaOraria LastFascia() const { return m_lastFascia; }

    // Counting.
    void StartPreCounting(bool useDialAllowance);
    void StartCounting();
    void StopCounting();
    bool LogConnection();
    void Responding();
    void ResolveRasFailure();
    void ResolveTapiFailure();
    void ResetCounters();
    void ChargeAnswer(bool quiet);
    void UpdateElapsed();
    void UpdateCharges();
    double Period() const;
    void SetTax(TTaxItem* tax);
    void DialEntry(const QString& entry, int delayMs);
    void SaveNow();
    // The state machine's state as text, "Nessuna connessione attiva" without a machine.
    QString ConnectionStateText() const;

    // Runs the recovery question for a connection left unsaved, then starts the clock.
    void DoLoaded() override;

    // Events (assigned by the data module and the main window).
    std::function<void(TStatus*, TFasciaOraria)> OnFasciaChanged;
    Notify OnSecond;
    Notify OnDayChanged;
    Notify OnScattiChanged;
    Notify OnCostChanged;
    Notify OnTimeChanged;
    Notify OnRemainingChanged;
    Notify OnCountingStarted;
    Notify OnPreCountingStarted;
    Notify OnConnected;
    std::function<void(TStatus*, const TConnectionData&)> OnConnectionLogged;
    std::function<void(TStatus*, TTaxItem* previous)> OnTaxChanged;
    Notify OnTaxNeeded;
    Notify OnMinLimiteReached;
    Notify OnCallRateChanged;
    Notify OnBytesTransmittedChanged;
    Notify OnBytesReceivedChanged;
    std::function<void(TStatus*, const QString& number)> OnInternationalNumber;
    std::function<void(TStatus*, const QString& entry, int delayMs)> OnDialRequested;

private:
    void tick();
    void perSecond();
    void timeBasedCharges();
    void pulseCharges();
    void useFreeSeconds();
    void setRemaining(quint32 value);
    void beep();
    void applyEntryTax();
    void recoverUnsavedConnection();
    TConnectionData currentConnection() const;
    qint64 nowTick() const;

    TSettings* m_settings;
    TTaxations* m_taxations = nullptr;
    TDataUnits* m_log = nullptr;
    TPerformance* m_performance = nullptr;
    TProfileItem* m_profile = nullptr;
    TEntryItem* m_entry = nullptr;
    TTaxItem* m_tax = nullptr;
    Timer* m_timer;

    qint32 m_numScatti = 0;
    double m_costoLire = 0;
    TDateTime m_time = 0;
    TDateTime m_startTime = 0;
    qint32 m_callRate = 0;
    QString m_entryName;
    QString m_dinamicIP;
    QString m_dialingNumber;
    QString m_appName;
    QString m_defaultTax;
    quint32 m_bytesTransmitted = 0;
    quint32 m_bytesReceived = 0;

    std::optional<qint64> m_startTick;
    qint64 m_dialAllowance = 0;
    qint64 m_elapsed = 0;
    qint64 m_pulseMark = 0;
    qint64 m_sinceMark = 0;
    int m_periodCarry = 0;
    double m_periodFraction = 0;
    quint32 m_remaining = 0;
    quint32 m_bonusAtStart = 0;
    qint64 m_bonusUpdatedAt = 0;
    TFasciaOraria m_lastFascia = foNone;
    bool m_answerCharged = false;
    bool m_minLimiteArmed = false;
    bool m_preAlertDone = false;
    bool m_questionPending = false;
    bool m_dialedByProgram = false;
    bool m_startedAtWinStart = false;
    int m_lastRasError = 0;
    int m_lastRasState = 0;
    TDateTime m_programStart = 0;
    TDateTime m_scheduledDisconnect = 0;
    bool m_shutdownAtDisconnect = false;
    TConnectionData m_lastConnection;
    double m_lastCost = 0;
    QString m_lastComparison;
    // The clock's memory of the last moment seen: seconds since midnight and the date.
    qint64 m_lastSecond = -1;
    qint64 m_lastDate = -1;
};

// Makes TStatus known to the store registry (vestrel-cli resave).
void RegisterMonitorStores();

// The process's live status, for the predicates below; the caller keeps ownership.
void SetCurrentStatus(TStatus* status);
TStatus* CurrentStatus();

// The live predicates: false when there is no status.
bool HasStartTick();
bool IsConnectionCounting();
bool IsDialCounting();
bool IsRasDialCounting();

} // namespace vestrel
