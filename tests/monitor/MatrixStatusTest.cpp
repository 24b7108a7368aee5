#include "monitor/AskHoldTimer.h"
#include "monitor/MatrixStatus.h"

#include "common/VestrelError.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

using S = TMtxState;
using E = TMtxEvent;

// Records the actions and changes of a machine.
struct Recorder {
    explicit Recorder(TMtxMatrixStatus& m)
    {
        auto record = [this](const char* name) {
            return [this, name](TMtxMatrixStatus*) { log.push_back(QString::fromLatin1(name)); };
        };
        m.OnStartCounting = record("StartCounting");
        m.OnStartPreCounting = record("StartPreCounting");
        m.OnShowRasError = record("ShowRasError");
        m.OnCancelRasConnection = record("CancelRasConnection");
        m.OnStopCounting = record("StopCounting");
        m.OnResponding = record("Responding");
        m.OnChangeState = [this](TMtxMatrixStatus* sender, S previous, E event) {
            log.push_back(u"Change "_s + StateName(previous) + u' ' + EventName(event) + u" -> "_s +
                          StateName(sender->State()));
        };
    }
    QStringList log;
};

// Events that bring a new machine from Idle into each state.
const std::map<S, std::vector<E>> pathTo = {
    {S::Idle, {}},
    {S::RasDialing, {E::RasDialing}},
    {S::TapiDialing, {E::TapiDialing}},
    {S::ManualStart, {E::ManualStart}},
    {S::TapiStart, {E::TapiConnected}},
    {S::RasStart, {E::RasConnecting}},
    {S::Ask, {E::AskHold}},
    {S::RasConnected, {E::RasConnected}},
};

struct Cell {
    S state;
    E event;
    const char* action; // nullptr: none
    S next;
};

// The cells that do something, as the behaviour lists them; every other one does nothing.
const std::vector<Cell> listed = {
    {S::Idle, E::RasDialing, "StartPreCounting", S::RasDialing},
    {S::Idle, E::RasConnecting, "StartCounting", S::RasStart},
    {S::Idle, E::RasConnected, "StartCounting", S::RasConnected},
    {S::Idle, E::ManualStart, "StartCounting", S::ManualStart},
    {S::Idle, E::AskHold, nullptr, S::Ask},
    {S::Idle, E::TapiDialing, "StartPreCounting", S::TapiDialing},
    {S::Idle, E::TapiConnected, "StartCounting", S::TapiStart},
    {S::RasDialing, E::RasIdle, nullptr, S::Idle},
    {S::RasDialing, E::RasConnecting, "StartCounting", S::RasStart},
    {S::RasDialing, E::RasConnected, "StartCounting", S::RasConnected},
    {S::RasDialing, E::RasError, "ShowRasError", S::Idle},
    {S::RasDialing, E::ManualStop, "CancelRasConnection", S::Idle},
    {S::RasDialing, E::AskHold, nullptr, S::Ask},
    {S::RasDialing, E::Answered, "Responding", S::Idle},
    {S::RasDialing, E::NoAnswered, "ShowRasError", S::Idle},
    {S::TapiDialing, E::RasConnecting, "StartCounting", S::RasStart},
    {S::TapiDialing, E::RasConnected, "StartCounting", S::RasConnected},
    {S::TapiDialing, E::ManualStart, "StartCounting", S::ManualStart},
    {S::TapiDialing, E::AskHold, nullptr, S::Ask},
    {S::TapiDialing, E::TapiConnected, "StartCounting", S::TapiStart},
    {S::TapiDialing, E::TapiIdle, nullptr, S::Idle},
    {S::ManualStart, E::RasConnecting, nullptr, S::RasStart},
    {S::ManualStart, E::RasConnected, nullptr, S::RasConnected},
    {S::ManualStart, E::ManualStop, "StopCounting", S::Idle},
    {S::ManualStart, E::TapiConnected, nullptr, S::TapiStart},
    {S::TapiStart, E::RasConnecting, nullptr, S::RasStart},
    {S::TapiStart, E::RasConnected, nullptr, S::RasConnected},
    {S::TapiStart, E::ManualStop, "StopCounting", S::Idle},
    {S::TapiStart, E::TapiIdle, "StopCounting", S::Idle},
    {S::RasStart, E::RasIdle, "StopCounting", S::Idle},
    {S::RasStart, E::RasConnected, nullptr, S::RasConnected},
    {S::RasStart, E::RasError, "ShowRasError", S::RasStart},
    {S::RasStart, E::ManualStop, "CancelRasConnection", S::RasStart},
    {S::Ask, E::Answered, "Responding", S::Idle},
    {S::Ask, E::NoAnswered, nullptr, S::Idle},
    {S::RasConnected, E::RasIdle, "StopCounting", S::Idle},
    {S::RasConnected, E::ManualStop, "CancelRasConnection", S::RasConnected},
};

class EveryCell : public ::testing::TestWithParam<std::pair<S, E>> {};

// Each of the 104 cells, sent to a machine that reached its state by events: the action it
// raises, the state it leaves and whether OnChangeState was raised.
TEST_P(EveryCell, RaisesItsActionAndMovesToItsNextState)
{
    const auto [state, event] = GetParam();
    TMtxMatrixStatus machine;
    for (E e : pathTo.at(state))
        machine.SetEvent(nullptr, e);
    ASSERT_EQ(machine.State(), state);
    Recorder rec(machine);
    machine.SetEvent(nullptr, event);

    QStringList expected;
    S next = state;
    for (const Cell& c : listed)
        if (c.state == state && c.event == event) {
            if (c.action)
                expected.append(QString::fromLatin1(c.action));
            next = c.next;
        }
    if (next != state)
        expected.append(u"Change "_s + StateName(state) + u' ' + EventName(event) + u" -> "_s + StateName(next));
    EXPECT_EQ(machine.State(), next);
    EXPECT_EQ(rec.log, expected);
    EXPECT_TRUE(machine.EventInExecution().isEmpty());
}

std::vector<std::pair<S, E>> allCells()
{
    std::vector<std::pair<S, E>> cells;
    for (int s = 0; s < MtxStateCount; ++s)
        for (int e = 0; e < MtxEventCount; ++e)
            cells.emplace_back(S(s), E(e));
    return cells;
}

INSTANTIATE_TEST_SUITE_P(Table, EveryCell, ::testing::ValuesIn(allCells()),
                         [](const auto& cell) {
                             return QString(StateName(cell.param.first) + u'_' + EventName(cell.param.second)).toStdString();
                         });

TEST(MtxMatrixStatus, NamesAndDescriptions)
{
    EXPECT_EQ(StateName(S::RasConnected), u"RasConnected"_s);
    EXPECT_EQ(EventName(E::NoAnswered), u"NoAnswered"_s);
    EXPECT_EQ(StateDescription(S::Idle), u"Nessuna connessione attiva"_s);
    EXPECT_EQ(StateDescription(S::TapiStart), u"ConnessioneTAPI attiva"_s);
    EXPECT_EQ(StateDescription(S::Ask), u"Non so se il provider ha risposto"_s);
}

TEST(MtxMatrixStatus, ManualCountIsTakenOverByRasWithoutARestart)
{
    TMtxMatrixStatus machine;
    Recorder rec(machine);
    for (E e : {E::ManualStart, E::RasConnected, E::ManualStop, E::RasIdle})
        machine.SetEvent(nullptr, e);
    EXPECT_EQ(rec.log, (QStringList{u"StartCounting"_s, u"Change Idle ManualStart -> ManualStart"_s,
                                    u"Change ManualStart RasConnected -> RasConnected"_s,
                                    u"CancelRasConnection"_s, u"StopCounting"_s,
                                    u"Change RasConnected RasIdle -> Idle"_s}));
}

TEST(MtxMatrixStatus, FailingActionIsWrappedAndLeavesTheState)
{
    TMtxMatrixStatus machine;
    machine.OnStartCounting = [](TMtxMatrixStatus*) { throw VestrelError(u"Nessuna tariffa"_s); };
    try {
        machine.SetEvent(nullptr, E::ManualStart);
        FAIL() << "no exception";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(),
                  u"ESetEventException [4]  Eccezione nella SetEvent [Idle,ManualStart] di TMtxMatrixStatusNessuna tariffa"_s);
    }
    EXPECT_EQ(machine.State(), S::Idle);
    EXPECT_TRUE(machine.EventInExecution().isEmpty());
}

TEST(MtxMatrixStatus, FailingChangeHandlerKeepsTheNewState)
{
    TMtxMatrixStatus machine;
    machine.OnChangeState = [](TMtxMatrixStatus*, S, E) { throw VestrelError(u"x"_s); };
    try {
        machine.SetEvent(nullptr, E::TapiDialing);
        FAIL() << "no exception";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"ESetEventException [6]  Eccezione nella SetEvent [Idle,TapiDialing] di TMtxMatrixStatusx"_s);
    }
    EXPECT_EQ(machine.State(), S::TapiDialing);
}

TEST(MtxMatrixStatus, ForeignExceptionsPassUnchanged)
{
    TMtxMatrixStatus machine;
    machine.OnStartPreCounting = [](TMtxMatrixStatus*) { throw std::runtime_error("boom"); };
    EXPECT_THROW(machine.SetEvent(nullptr, E::RasDialing), std::runtime_error);
    EXPECT_EQ(machine.State(), S::Idle);
    EXPECT_TRUE(machine.EventInExecution().isEmpty());
}

TEST(MtxMatrixStatus, NestedCallIsReportedOnlyWithDebugAndStillPerformed)
{
    for (const bool debug : {false, true}) {
        SCOPED_TRACE(debug);
        ScriptedDialogs dialogs;
        TMtxMatrixStatus machine;
        machine.SetEnableDebug(debug);
        QString seenInside;
        // Counting starts; meanwhile (a box spins the event loop) the connection comes online.
        machine.OnStartCounting = [&](TMtxMatrixStatus* m) {
            seenInside = m->EventInExecution();
            m->OnStartCounting = nullptr;
            m->SetEvent(nullptr, E::RasConnected);
        };
        machine.SetEvent(nullptr, E::RasConnecting);
        EXPECT_EQ(seenInside, u"RasConnecting"_s);
        if (debug) {
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0].text,
                      u"Attenzione: richiamata la SetEvent [Idle,RasConnected] in una funzione!\rEvento RasConnecting in esecuzione"_s);
        } else {
            EXPECT_TRUE(dialogs.shown.empty());
        }
        // The outer cell's next state wins, as the table says.
        EXPECT_EQ(machine.State(), S::RasStart);
    }
}

TEST(MtxMatrixStatus, CellThatKeepsItsStateDoesNotUndoANestedHangUp)
{
    TMtxMatrixStatus machine;
    machine.SetEvent(nullptr, E::RasConnected);
    int stops = 0;
    machine.OnStopCounting = [&](TMtxMatrixStatus*) { ++stops; };
    // Cancelling hangs up at once, and the hang-up reports the line offline inside the action.
    machine.OnCancelRasConnection = [](TMtxMatrixStatus* m) { m->SetEvent(nullptr, E::RasIdle); };
    machine.SetEvent(nullptr, E::ManualStop);
    EXPECT_EQ(machine.State(), S::Idle);
    EXPECT_EQ(stops, 1);
}

TEST(MtxMatrixStatus, GlobalEntryPointsNeedAMachine)
{
    SetMtxMatrixStatus(nullptr, nullptr);
    SendMtxEvent(E::ManualStart);
    EXPECT_FALSE(IsMtxState(S::Idle));
    {
        TMtxMatrixStatus machine;
        SetMtxMatrixStatus(&machine, nullptr);
        SendMtxEvent(E::ManualStart);
        EXPECT_TRUE(IsMtxState(S::ManualStart));
    }
    EXPECT_FALSE(IsMtxState(S::ManualStart)) << "a destroyed machine is forgotten";
    SetMtxMatrixStatus(nullptr, nullptr);
}

// The data module's wiring: entering Ask arms the timer, its tick asks the question.
class AskHold : public ::testing::Test {
protected:
    AskHold()
    {
        SetMtxMatrixStatus(&machine, nullptr);
        machine.OnChangeState = [this](TMtxMatrixStatus* m, S, E) {
            if (m->State() == S::Ask)
                timer.Start();
        };
        machine.OnResponding = [this](TMtxMatrixStatus*) { log.append(u"Responding"_s); };
        timer.OnQuestionPending = [this](bool on) { log.append(on ? u"pending"_s : u"answered"_s); };
    }
    ~AskHold() override { SetMtxMatrixStatus(nullptr, nullptr); }

    FakeClock clock;
    ScriptedDialogs dialogs;
    TMtxMatrixStatus machine;
    TAskHoldTimer timer;
    QStringList log;
};

TEST_F(AskHold, QuestionIsAskedOutsideSetEventAndAnsweredYes)
{
    dialogs.setNextAnswer(DialogAnswer::Yes);
    machine.SetEvent(nullptr, E::AskHold);
    EXPECT_TRUE(dialogs.shown.empty()) << "not inside SetEvent";
    clock.advance(10);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::YesNo);
    EXPECT_EQ(dialogs.shown[0].text, u"La connessione non è riuscita!\r\rC'è stata risposta alla chiamata?"_s);
    EXPECT_EQ(log, (QStringList{u"pending"_s, u"answered"_s, u"Responding"_s}));
    EXPECT_EQ(machine.State(), S::Idle);
    EXPECT_FALSE(timer.IsEnabled());
    clock.advance(100);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "asked once";
}

TEST_F(AskHold, AnswerNoReturnsToIdleWithoutResponding)
{
    machine.SetEvent(nullptr, E::AskHold);
    clock.advance(10);
    EXPECT_EQ(log, (QStringList{u"pending"_s, u"answered"_s}));
    EXPECT_EQ(machine.State(), S::Idle);
}

} // namespace
