#include "RasFixture.h"

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace St = DialUpState;

class RasDial : public RasTest {
protected:
    RasDial()
    {
        dialUp.addEntry(u"Casa"_s, {u"mario"_s, u"segreta"_s, true});
        dialUp.setEntryProperties(u"Casa"_s, {u"12345"_s, u"02"_s, 39, true});
    }
};

TEST_F(RasDial, SuccessfulDialReportsItsProgressAndTheLineStates)
{
    QStringList started;
    ras.OnRasStartConnecting = [&](TRasControl*, const QString& entry, const QString& user,
                                   const QString& password, const QString& number) {
        started = {entry, user, password, number};
    };
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    EXPECT_EQ(started, (QStringList{u"Casa"_s, u"mario"_s, u"segreta"_s, u"0212345"_s}));
    ASSERT_EQ(dialUp.dials().size(), 1u);
    EXPECT_EQ(dialUp.dials()[0].password, u"segreta"_s);
    EXPECT_TRUE(take().isEmpty()) << "progress arrives later, never inside Dial";
    EXPECT_NE(ras.OwnDialHandle(), 0u);

    clock.advance(5000);
    EXPECT_EQ(take(), (QStringList{
                          u"Count 1"_s, u"Dialing"_s, u"Event Sto aprendo la porta"_s,
                          u"Event WOW sono riuscito ad aprire la porta"_s,
                          u"Event Provo a fare il numero 0212345"_s, u"ConnectDevice"_s,
                          u"Connecting"_s, u"Event WOW il modem s'è connesso!"_s, u"DeviceConnected"_s,
                          u"Event Proviamo l'autenticazione"_s, u"Event Abbiamo ottenuto l'IP dinamico!"_s,
                          u"OnLine"_s}));
    EXPECT_EQ(ras.ConnectionIPAddress(u"Casa"_s), u"10.0.0.2"_s);
    EXPECT_EQ(ras.LastDialState(), St::Projected);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'|').toStdString();
}

TEST_F(RasDial, BusyLineHangsUpAndReportsBusyBeforeTheError)
{
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::OpeningPort, St::PortOpened, St::ConnectingDevice}, 676));
    ras.OnRasEvent = nullptr;
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    clock.advance(10000);
    EXPECT_EQ(take(), (QStringList{u"Count 1"_s, u"Dialing"_s, u"ConnectDevice"_s, u"Count 0"_s, u"OffLine"_s,
                                   u"LineBusy"_s, u"Error 676 2"_s}));
    EXPECT_EQ(dialUp.connectionCount(), 0);
    EXPECT_EQ(ras.OwnDialHandle(), 0u);
    EXPECT_EQ(ras.LastError(), 676);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'|').toStdString();
}

TEST_F(RasDial, RefusedPasswordIsForgottenBeforeTheErrorIsRaised)
{
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::ConnectingDevice, St::DeviceConnected, St::Authenticating}, 691));
    ras.OnRasEvent = nullptr;
    ras.OnRasConnecting = nullptr;
    ras.OnRasChangeConnectionsNumber = nullptr;
    ras.OnRasError = [&](TRasControl*, int error, int lastState) {
        const DialUpCredentials saved = dialUp.entryCredentials(u"Casa"_s).value;
        events.append(u"Error "_s + QString::number(error) + u' ' + QString::number(lastState) +
                      (saved.hasPassword ? u" password kept"_s : u" password gone"_s) + u' ' + saved.userName);
    };
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    clock.advance(10000);
    EXPECT_EQ(take(), (QStringList{u"Dialing"_s, u"ConnectDevice"_s, u"DeviceConnected"_s, u"WrongPassword"_s,
                                   u"Error 691 5 password gone mario"_s, u"OffLine"_s}));
}

TEST_F(RasDial, DialRefusedAtOnceIsNotJudgedByThePreviousDial)
{
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::ConnectingDevice, St::DeviceConnected, St::Authenticating}, 678));
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    clock.advance(10000);
    EXPECT_TRUE(take().contains(u"Error 678 5"_s));
    SimulatedDialUp::DialScript refused;
    refused.result = 633;
    dialUp.setDialScript(refused);
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    EXPECT_EQ(take(), QStringList{u"Error 633 0"_s});
    EXPECT_EQ(TRasControl::ClassifyDialFailure(633, ras.LastDialState()), 2);
}

TEST_F(RasDial, HangUpWaitsOnTheClockUntilTheConnectionHasGone)
{
    ras.Dial(u"Casa"_s, u"mario"_s, u"segreta"_s);
    clock.advance(5000);
    take();
    dialUp.setHangUpDelay(500);
    const qint64 before = clock.tickMs();
    ras.HangUp(ras.OwnDialHandle());
    EXPECT_GE(clock.tickMs() - before, 500);
    EXPECT_LT(clock.tickMs() - before, 1000);
    EXPECT_EQ(dialUp.connectionCount(), 0);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(RasDial, HangUpGivesUpAfterItsBound)
{
    const DialUpHandle stuck = dialUp.addConnection(u"Casa"_s, St::Connected);
    dialUp.setHangUpDelay(60000);
    const qint64 before = clock.tickMs();
    ras.HangUp(stuck);
    EXPECT_GE(clock.tickMs() - before, TRasControl::HangUpWaitMs);
    EXPECT_LT(clock.tickMs() - before, TRasControl::HangUpWaitMs + 100);
    EXPECT_EQ(failures, QStringList{u"Fallita la RasHangUp: la connessione non si è chiusa entro 3 secondi"_s});
}

TEST_F(RasDial, HangUpAllAnnouncesItselfAndReportsTheLineOfflineAtOnce)
{
    dialUp.addConnection(u"Casa"_s, St::Connected);
    dialUp.addConnection(u"Lavoro"_s, St::Connected);
    ras.CheckConnection();
    take();
    ras.OnRasDisconnecting = [this](TRasControl*) { events.append(u"Disconnecting"_s); };
    ras.HangUpAll();
    EXPECT_EQ(take(), (QStringList{u"Disconnecting"_s, u"Count 0"_s, u"OffLine"_s}));
    EXPECT_EQ(dialUp.hangUps().size(), 2u);
    ras.HangUpAll();
    EXPECT_TRUE(take().isEmpty()) << "nothing to announce without connections";
}

TEST_F(RasDial, HangUpOfAConnectionAlreadyGoneIsNoFailure)
{
    ras.HangUp(0);
    EXPECT_TRUE(dialUp.hangUps().empty());
    ras.HangUp(99);
    EXPECT_TRUE(failures.isEmpty());
    dialUp.failNext(SimulatedDialUp::Operation::HangUp, 600);
    ras.HangUp(dialUp.addConnection(u"Casa"_s, St::Connected));
    EXPECT_EQ(failures, QStringList{u"Fallita la RasHangUp"_s});
}

} // namespace
