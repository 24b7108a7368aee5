#pragma once

#include <QObject>

#include <memory>

namespace vestrel {

class TAgenda;
class TAskHoldTimer;
class TDialer;
class TDisconnection;
class TStartEntryDial;
class TTimeLimitWatch;
class TDataUnits;
class TMtxMatrixStatus;
class TPerformance;
class TProcessControl;
class TRasControl;
class TSettings;
class TStatus;
class TSysResource9x;
class TTapiControl;
class TTaxations;
class TWaveSounds;
struct TCallInfo;

// The shared data module, without widgets: it owns the state machine, the dial-up and line
// monitors, the live status, the question timer, the traffic and resource watchers, the
// launcher, the disconnection, time-limit and dialler logic and the calendar store, and routes
// their events. The logic stays where it belongs:
// the handlers only turn a monitor's report into the live status's data and one state-machine
// event.
class TDataShare : public QObject {
public:
    TDataShare(TSettings& settings, TTaxations& taxations, TDataUnits& log, QObject* owner = nullptr);
    ~TDataShare() override;

    TMtxMatrixStatus& Machine() const { return *m_machine; }
    TRasControl& Ras() const { return *m_ras; }
    TTapiControl& Tapi() const { return *m_tapi; }
    TStatus& Status() const { return *m_status; }
    TAskHoldTimer& AskHold() const { return *m_askHold; }
    TPerformance& Performance() const { return *m_performance; }
    TSysResource9x& Resources() const { return *m_resources; }
    TProcessControl& Launcher() const { return *m_launcher; }
    TAgenda& Agenda() const { return *m_agenda; }
    TDisconnection& Disconnection() const { return *m_disconnection; }
    TDialer& Dialer() const { return *m_dialer; }
    TTimeLimitWatch& TimeLimit() const { return *m_timeLimit; }
    TStartEntryDial& StartEntryDial() const { return *m_startEntryDial; }
    // The sound store, holding the built-in set until the application binds it to its file.
    TWaveSounds& WaveSounds() const { return *m_waveSounds; }

    // The periodic work of a normal run: the dial-up poll and the resource watch. On a machine
    // without any dial-up service it says so, once.
    void StartMonitoring();
    // From here on no worker delivers anything and no monitor polls.
    void BeginShutdown();

private:
    void wireMachine();
    void wireRas();
    void wireTapi();
    void wireTraffic();
    void tapiCallEnd();
    void takeCallNumber(const TCallInfo& call);

    TSettings& m_settings;
    std::unique_ptr<TMtxMatrixStatus> m_machine;
    std::unique_ptr<TAgenda> m_agenda;
    std::unique_ptr<TStatus> m_status;
    std::unique_ptr<TRasControl> m_ras;
    std::unique_ptr<TTapiControl> m_tapi;
    std::unique_ptr<TAskHoldTimer> m_askHold;
    std::unique_ptr<TPerformance> m_performance;
    std::unique_ptr<TSysResource9x> m_resources;
    std::unique_ptr<TProcessControl> m_launcher;
    std::unique_ptr<TDisconnection> m_disconnection;
    std::unique_ptr<TDialer> m_dialer;
    std::unique_ptr<TTimeLimitWatch> m_timeLimit;
    std::unique_ptr<TStartEntryDial> m_startEntryDial;
    std::unique_ptr<TWaveSounds> m_waveSounds;
    bool m_tapiEnding = false;
    bool m_noDialUpTold = false;
};

} // namespace vestrel
