#include "MatrixStatus.h"

#include "common/Dialogs.h"
#include "common/VestrelError.h"

#include <QPointer>

#include <array>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

using S = TMtxState;
using E = TMtxEvent;
using A = TMtxAction;

struct ListedCell {
    S state;
    E event;
    A action;
    S next;
};

// The cells that do something; every other cell keeps the state.
constexpr ListedCell listedCells[] = {
    {S::Idle, E::RasDialing, A::StartPreCounting, S::RasDialing},
    {S::Idle, E::RasConnecting, A::StartCounting, S::RasStart},
    {S::Idle, E::RasConnected, A::StartCounting, S::RasConnected},
    {S::Idle, E::ManualStart, A::StartCounting, S::ManualStart},
    {S::Idle, E::AskHold, A::None, S::Ask},
    {S::Idle, E::TapiDialing, A::StartPreCounting, S::TapiDialing},
    {S::Idle, E::TapiConnected, A::StartCounting, S::TapiStart},
    {S::RasDialing, E::RasIdle, A::None, S::Idle},
    {S::RasDialing, E::RasConnecting, A::StartCounting, S::RasStart},
    {S::RasDialing, E::RasConnected, A::StartCounting, S::RasConnected},
    {S::RasDialing, E::RasError, A::ShowRasError, S::Idle},
    {S::RasDialing, E::ManualStop, A::CancelRasConnection, S::Idle},
    {S::RasDialing, E::AskHold, A::None, S::Ask},
    {S::RasDialing, E::Answered, A::Responding, S::Idle},
    {S::RasDialing, E::NoAnswered, A::ShowRasError, S::Idle},
    {S::TapiDialing, E::RasConnecting, A::StartCounting, S::RasStart},
    {S::TapiDialing, E::RasConnected, A::StartCounting, S::RasConnected},
    {S::TapiDialing, E::ManualStart, A::StartCounting, S::ManualStart},
    {S::TapiDialing, E::AskHold, A::None, S::Ask},
    {S::TapiDialing, E::TapiConnected, A::StartCounting, S::TapiStart},
    {S::TapiDialing, E::TapiIdle, A::None, S::Idle},
    {S::ManualStart, E::RasConnecting, A::None, S::RasStart},
    {S::ManualStart, E::RasConnected, A::None, S::RasConnected},
    {S::ManualStart, E::ManualStop, A::StopCounting, S::Idle},
    {S::ManualStart, E::TapiConnected, A::None, S::TapiStart},
    {S::TapiStart, E::RasConnecting, A::None, S::RasStart},
    {S::TapiStart, E::RasConnected, A::None, S::RasConnected},
    {S::TapiStart, E::ManualStop, A::StopCounting, S::Idle},
    {S::TapiStart, E::TapiIdle, A::StopCounting, S::Idle},
    {S::RasStart, E::RasIdle, A::StopCounting, S::Idle},
    {S::RasStart, E::RasConnected, A::None, S::RasConnected},
    {S::RasStart, E::RasError, A::ShowRasError, S::RasStart},
    {S::RasStart, E::ManualStop, A::CancelRasConnection, S::RasStart},
    {S::Ask, E::Answered, A::Responding, S::Idle},
    {S::Ask, E::NoAnswered, A::None, S::Idle},
    {S::RasConnected, E::RasIdle, A::StopCounting, S::Idle},
    {S::RasConnected, E::ManualStop, A::CancelRasConnection, S::RasConnected},
};

using Table = std::array<std::array<TMtxCell, MtxEventCount>, MtxStateCount>;

constexpr Table buildTable()
{
    Table table{};
    for (int s = 0; s < MtxStateCount; ++s)
        for (int e = 0; e < MtxEventCount; ++e)
            table[size_t(s)][size_t(e)] = {A::None, S(s)};
    for (const ListedCell& c : listedCells)
        table[size_t(c.state)][size_t(c.event)] = {c.action, c.next};
    return table;
}

constexpr Table table = buildTable();

QPointer<TMtxMatrixStatus> currentMachine;
QPointer<QObject> currentSender;

} // namespace

QString StateName(TMtxState state)
{
    switch (state) {
    case S::Idle: return u"Idle"_s;
    case S::RasDialing: return u"RasDialing"_s;
    case S::TapiDialing: return u"TapiDialing"_s;
    case S::ManualStart: return u"ManualStart"_s;
    case S::TapiStart: return u"TapiStart"_s;
    case S::RasStart: return u"RasStart"_s;
    case S::Ask: return u"Ask"_s;
    case S::RasConnected: return u"RasConnected"_s;
    }
    return {};
}

QString EventName(TMtxEvent event)
{
    switch (event) {
    case E::RasIdle: return u"RasIdle"_s;
    case E::RasDialing: return u"RasDialing"_s;
    case E::RasConnecting: return u"RasConnecting"_s;
    case E::RasConnected: return u"RasConnected"_s;
    case E::RasError: return u"RasError"_s;
    case E::ManualStop: return u"ManualStop"_s;
    case E::ManualStart: return u"ManualStart"_s;
    case E::AskHold: return u"AskHold"_s;
    case E::Answered: return u"Answered"_s;
    case E::NoAnswered: return u"NoAnswered"_s;
    case E::TapiDialing: return u"TapiDialing"_s;
    case E::TapiConnected: return u"TapiConnected"_s;
    case E::TapiIdle: return u"TapiIdle"_s;
    }
    return {};
}

QString StateDescription(TMtxState state)
{
    switch (state) {
    case S::Idle: return u"Nessuna connessione attiva"_s;
    case S::RasDialing: return u"Selezione telefonica RAS"_s;
    case S::TapiDialing: return u"Selezione TAPI in corso"_s;
    case S::ManualStart: return u"Avvio manuale"_s;
    case S::TapiStart: return u"ConnessioneTAPI attiva"_s;
    case S::RasStart: return u"Tentativo di connessione RAS"_s;
    case S::Ask: return u"Non so se il provider ha risposto"_s;
    case S::RasConnected: return u"Connessione RAS attiva"_s;
    }
    return {};
}

TMtxCell MtxCell(TMtxState state, TMtxEvent event)
{
    return table[size_t(state)][size_t(event)];
}

TMtxMatrixStatus::TMtxMatrixStatus(QObject* owner) : QObject(owner)
{
    setObjectName(u"MtxStatus"_s);
}

void TMtxMatrixStatus::perform(TMtxAction action)
{
    const TMtxNotify* handler = nullptr;
    switch (action) {
    case A::None: return;
    case A::StartCounting: handler = &OnStartCounting; break;
    case A::StartPreCounting: handler = &OnStartPreCounting; break;
    case A::ShowRasError: handler = &OnShowRasError; break;
    case A::CancelRasConnection: handler = &OnCancelRasConnection; break;
    case A::StopCounting: handler = &OnStopCounting; break;
    case A::Responding: handler = &OnResponding; break;
    }
    if (*handler)
        (*handler)(this);
}

void TMtxMatrixStatus::SetEvent(QObject*, TMtxEvent event)
{
    // The step marker says, in a wrapped failure, how far the call had come.
    QString step = u"ESetEventException [1] "_s;
    QString doubleCall;
    const TMtxState previous = m_state;
    if (m_enableDebug && !m_eventInExecution.isEmpty()) {
        doubleCall = u"DoubleCall"_s;
        ShowInfoBox(u"Attenzione: richiamata la SetEvent ["_s + StateName(previous) + u',' +
                    EventName(event) + u"] in una funzione!"_s + u'\r' + u"Evento "_s +
                    m_eventInExecution + u" in esecuzione"_s);
    }
    step = u"ESetEventException [2] "_s;
    m_eventInExecution = EventName(event);
    try {
        step = u"ESetEventException [3] "_s;
        const TMtxCell cell = MtxCell(previous, event);
        step = u"ESetEventException [4] "_s;
        perform(cell.action);
        step = u"ESetEventException [5] "_s;
        // A cell that keeps its state moves nothing, even when a nested event changed the state
        // while the action ran (a hang-up that ended the connection must not be undone).
        if (cell.next != previous && cell.next != m_state) {
            m_state = cell.next;
            if (OnChangeState) {
                step = u"ESetEventException [6] "_s;
                OnChangeState(this, previous, event);
                step = u"ESetEventException [7] "_s;
            }
        }
        m_eventInExecution.clear();
    } catch (const VestrelError& e) {
        m_eventInExecution.clear();
        throw VestrelError(step + doubleCall + u" Eccezione nella SetEvent ["_s + StateName(previous) +
                           u',' + EventName(event) + u"] di TMtxMatrixStatus"_s + e.message());
    } catch (...) {
        m_eventInExecution.clear();
        throw;
    }
}

void SetMtxMatrixStatus(TMtxMatrixStatus* machine, QObject* sender)
{
    currentMachine = machine;
    currentSender = sender;
}

void SendMtxEvent(TMtxEvent event)
{
    if (currentMachine)
        currentMachine->SetEvent(currentSender, event);
}

bool IsMtxState(TMtxState state)
{
    return currentMachine && currentMachine->State() == state;
}

} // namespace vestrel
