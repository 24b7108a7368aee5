#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace vestrel {

// What the program believes the line is doing.
enum class TMtxState {
    Idle,
    RasDialing,
    TapiDialing,
    ManualStart,
    TapiStart,
    RasStart,
    Ask,
    RasConnected,
};
inline constexpr int MtxStateCount = 8;

// Every observation that matters for counting.
enum class TMtxEvent {
    RasIdle,
    RasDialing,
    RasConnecting,
    RasConnected,
    RasError,
    ManualStop,
    ManualStart,
    AskHold,
    Answered,
    NoAnswered,
    TapiDialing,
    TapiConnected,
    TapiIdle,
};
inline constexpr int MtxEventCount = 13;

enum class TMtxAction {
    None,
    StartCounting,
    StartPreCounting,
    ShowRasError,
    CancelRasConnection,
    StopCounting,
    Responding,
};

struct TMtxCell {
    TMtxAction action;
    TMtxState next;
};

QString StateName(TMtxState state);
QString EventName(TMtxEvent event);
// The text shown to the user as the connection state.
QString StateDescription(TMtxState state);
// The fixed transition table; a cell not listed keeps the state and does nothing.
TMtxCell MtxCell(TMtxState state, TMtxEvent event);

class TMtxMatrixStatus;
using TMtxNotify = std::function<void(TMtxMatrixStatus* sender)>;
using TChangeState = std::function<void(TMtxMatrixStatus* sender, TMtxState previous, TMtxEvent event)>;

// The connection state machine: every event is looked up with the current state in the fixed
// 8 × 13 table; the cell's action (an event of this component) runs while the state is still the
// old one, then the state changes. Actions are the only way counting starts or stops.
class TMtxMatrixStatus : public QObject {
public:
    explicit TMtxMatrixStatus(QObject* owner = nullptr);

    TMtxState State() const { return m_state; }
    bool EnableDebug() const { return m_enableDebug; }
    void SetEnableDebug(bool on) { m_enableDebug = on; }
    // The name of the event being processed; empty when none.
    const QString& EventInExecution() const { return m_eventInExecution; }

    // Failures of the actions and of OnChangeState come back as one VestrelError naming the step,
    // the state and the event; other exceptions pass through unchanged.
    void SetEvent(QObject* sender, TMtxEvent event);

    TMtxNotify OnStartCounting;
    TMtxNotify OnStartPreCounting;
    TMtxNotify OnShowRasError;
    TMtxNotify OnCancelRasConnection;
    TMtxNotify OnStopCounting;
    TMtxNotify OnResponding;
    // Raised only when the state really changes, with the state before and the event.
    TChangeState OnChangeState;

private:
    void perform(TMtxAction action);

    TMtxState m_state = TMtxState::Idle;
    bool m_enableDebug = false;
    QString m_eventInExecution;
};

// The machine every event source talks to (the data module's), and the sender it is called with.
// nullptr when there is none; the caller keeps ownership.
void SetMtxMatrixStatus(TMtxMatrixStatus* machine, QObject* sender);
// SetEvent of that machine; nothing when there is none.
void SendMtxEvent(TMtxEvent event);
bool IsMtxState(TMtxState state);

} // namespace vestrel
