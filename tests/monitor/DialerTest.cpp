#include "DialerFixture.h"

#include "common/Timer.h"

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace St = DialUpState;

class Dialer : public DialerFixture {
protected:
    Dialer()
    {
        bindStatus();
        status.SetTax(tax(u"Telecom - TAT Urbana"_s));
        dialer.OnDialError = [this](TDialer*, bool forward) { foreground.push_back(forward); };
    }

    // Every dial meets a busy line after two seconds.
    void busyLines() { dialUp.setDialScript(SimulatedDialUp::failingDial({St::OpeningPort, St::PortOpened}, 676)); }

    std::vector<bool> foreground;
};

} // namespace

TEST_F(Dialer, DialsWithTheSavedLoginAfterTheWaitAndClosesOnline)
{
    addEntry(u"Casa"_s);
    int shown = 0;
    dialer.OnShow = [&](TDialer*) { ++shown; };
    status.DialEntry(u"Casa"_s, 3000);

    EXPECT_TRUE(dialer.IsOpen());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialer.Caption(), u"Connessione a Casa"_s);
    EXPECT_EQ(dialer.ButtonCaption(), u"&Annulla"_s);
    EXPECT_EQ(status.DialingNumber(), u"0212345"_s);
    clock.advance(2999);
    EXPECT_TRUE(dialUp.dials().empty());
    clock.advance(1);
    ASSERT_EQ(dialUp.dials().size(), 1u);
    EXPECT_EQ(dialUp.dials()[0].password, u"segreta"_s);
    EXPECT_TRUE(status.DialedByProgram());
    EXPECT_EQ(status.EntryName(), u"Casa"_s);
    EXPECT_TRUE(IsMtxState(TMtxState::RasDialing));
    EXPECT_EQ(dialer.Attempts(), 1);

    seconds(3);
    EXPECT_EQ(dialer.Memo().mid(0, 3), (QStringList{u"Connessione a Casa in corso..."_s, u"Sto aprendo la porta"_s,
                                                     u"WOW sono riuscito ad aprire la porta"_s}));
    EXPECT_EQ(dialer.ProgressLine(), dialer.Memo().back());
    EXPECT_EQ(dialer.Progress(), dialer.Memo().size()) << "one step for the dial, one for each progress line";
    seconds(2);
    EXPECT_TRUE(IsMtxState(TMtxState::RasConnected));
    EXPECT_FALSE(dialer.IsOpen());
    EXPECT_TRUE(dialer.Memo().isEmpty()) << "a closed dialler starts afresh";
}

TEST_F(Dialer, MissingPasswordIsAskedAndABlankUserNameAskedAgain)
{
    addEntry(u"Casa"_s, false);
    std::vector<TPasswordRequest> requests;
    std::vector<TPasswordReply> replies{{true, u"  "_s, u"pw"_s, false}, {true, u"luigi"_s, u"nuova"_s, false}};
    dialer.AskPassword = [&](const TPasswordRequest& request) {
        requests.push_back(request);
        return replies[requests.size() - 1];
    };
    status.DialEntry(u"Casa"_s, 100);
    clock.advance(100);

    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Caption, u"Connessione a: Casa"_s);
    EXPECT_EQ(requests[0].UserName, u"mario"_s) << "the saved user name is offered";
    EXPECT_EQ(requests[1].Password, u"pw"_s) << "the dialog stays open with what was typed";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, u"Manca il nome utente!"_s);
    ASSERT_EQ(dialUp.dials().size(), 1u);
    EXPECT_EQ(dialUp.dials()[0].userName, u"luigi"_s);
    EXPECT_EQ(dialUp.dials()[0].password, u"nuova"_s);
    EXPECT_TRUE(dialer.CredentialsConfirmed());
    const DialUpCredentials saved = dialUp.entryCredentials(u"Casa"_s).value;
    EXPECT_EQ(saved.userName, u"luigi"_s);
    EXPECT_FALSE(saved.hasPassword) << "\"Salva la password\" was clear";
}

TEST_F(Dialer, CancelledPasswordQuestionAbandonsTheDial)
{
    addEntry(u"Casa"_s, false);
    status.DialEntry(u"Casa"_s, 100); // the default question answers "Annulla"
    clock.advance(100);

    EXPECT_TRUE(dialUp.dials().empty());
    EXPECT_FALSE(dialer.IsOpen());
    EXPECT_TRUE(IsMtxState(TMtxState::Idle));
    EXPECT_TRUE(status.DialingNumber().isEmpty());
    EXPECT_TRUE(noticed(u"Chiusura della connessione a Casa..."_s));
}

TEST_F(Dialer, DialerClosedDuringThePasswordQuestionDoesNotDial)
{
    addEntry(u"Casa"_s, false);
    dialer.AskPassword = [&](const TPasswordRequest&) {
        dialer.Close(); // as a line that came up meanwhile closes it
        return TPasswordReply{true, u"luigi"_s, u"pw"_s, true};
    };
    status.DialEntry(u"Casa"_s, 100);
    clock.advance(100);
    EXPECT_TRUE(dialUp.dials().empty());
    EXPECT_FALSE(dialer.IsOpen());
}

TEST_F(Dialer, CancelStopsEveryWaitAndTheNextOpeningStartsAfresh)
{
    addEntry(u"Casa"_s);
    int closed = 0;
    dialer.OnClose = [&](TDialer*) { ++closed; };
    status.DialEntry(u"Casa"_s, 5000);
    dialer.Cancel();
    EXPECT_FALSE(dialer.IsOpen());
    EXPECT_EQ(closed, 1);
    seconds(10);
    EXPECT_TRUE(dialUp.dials().empty());

    busyLines();
    status.DialEntry(u"Casa"_s, 100);
    clock.advance(100 + 2000);
    ASSERT_TRUE(dialer.IsWaitingToRetry());
    dialer.Cancel();
    EXPECT_EQ(closed, 2);
    seconds(30);
    EXPECT_EQ(dialUp.dials().size(), 1u);

    status.DialEntry(u"Casa"_s, 100);
    clock.advance(100);
    EXPECT_EQ(dialer.Attempts(), 1);
    EXPECT_EQ(dialer.Memo().first(), u"Connessione a Casa in corso..."_s);
}

struct BusyCase {
    const char* name;
    qint32 retryTime;
    const char16_t* firstCountdown;
};

class BusyLine : public Dialer, public ::testing::WithParamInterface<BusyCase> {};

TEST_P(BusyLine, CountsDownAndDialsAgain)
{
    const BusyCase& c = GetParam();
    addEntry(u"Casa"_s);
    settings.Entrys().FindOrAdd(u"Casa"_s, keRAS)->SetRetryTime(c.retryTime);
    busyLines();
    status.DialEntry(u"Casa"_s, 100);
    clock.advance(100 + 2000);

    EXPECT_TRUE(dialer.IsWaitingToRetry());
    EXPECT_EQ(dialer.ButtonCaption(), u"&Chiudi"_s);
    EXPECT_TRUE(dialer.RetryOffered());
    EXPECT_FALSE(dialer.Animating());
    EXPECT_EQ(dialer.Progress(), TDialer::ProgressMax);
    EXPECT_TRUE(dialer.Memo().back().startsWith(u"Errore: "_s));
    EXPECT_EQ(foreground, std::vector<bool>{false}) << "a busy line does not call the user";
    EXPECT_FALSE(dialer.CycleOptionOffered()) << "one entry on the tariff";

    const qsizetype memoLines = dialer.Memo().size();
    clock.advance(TDialer::RecallIntervalMs);
    EXPECT_EQ(dialer.ProgressLine(), u"Vestrel al prossimo tentativo [1] "_s + QString::fromUtf16(c.firstCountdown));
    EXPECT_EQ(dialer.Memo().size(), memoLines) << "the countdown stays out of the log";

    clock.advance(qint64(c.retryTime) * 1000 - TDialer::RecallIntervalMs - 1);
    EXPECT_EQ(dialUp.dials().size(), 1u);
    clock.advance(1);
    EXPECT_FALSE(dialer.IsWaitingToRetry());
    EXPECT_EQ(dialer.ButtonCaption(), u"&Annulla"_s);
    clock.advance(TDialer::RecallIntervalMs);
    EXPECT_EQ(dialUp.dials().size(), 2u) << "the wait before the dial is the one of the first opening";
    EXPECT_TRUE(dialer.Memo().contains(u"Connessione [2] a Casa in corso..."_s));
}

INSTANTIATE_TEST_SUITE_P(RetryTimes, BusyLine,
                         ::testing::Values(BusyCase{"Seconds", 9, u"00:08"}, BusyCase{"AnHourIsKeptWhole", 3600, u"59:59"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Dialer, CyclingRetriesDialTheEntriesOfTheTariffInTurn)
{
    for (const QString& name : {u"Primo"_s, u"Secondo"_s, u"Terzo"_s}) {
        addEntry(name);
        settings.Entrys().FindOrAdd(name, keRAS)->SetRetryTime(5);
    }
    addEntry(u"Altrove"_s, true, u"Telecom - TAT Interurbana"_s);
    busyLines();
    status.DialEntry(u"Secondo"_s, 100);
    clock.advance(100 + 2000);
    EXPECT_TRUE(dialer.CycleOptionOffered());
    dialer.SetCycleEntries(true);
    EXPECT_EQ(dialer.RetryMode(), rmCycle);
    EXPECT_EQ(dialer.CycleHint(), u"Riprova ciclicamente con \rPrimo\rSecondo\rTerzo"_s);

    seconds(4 * 8);
    EXPECT_EQ(dialled(), (QStringList{u"Secondo"_s, u"Primo"_s, u"Secondo"_s, u"Terzo"_s, u"Primo"_s}));

    dialer.SetCycleEntries(false);
    EXPECT_EQ(dialer.RetryMode(), rmSame);
    EXPECT_EQ(dialer.CycleHint(), u"Prova con la connessione corrente"_s);
    const QString current = dialer.Entry();
    seconds(8);
    EXPECT_EQ(dialled().back(), current);
}

TEST_F(Dialer, FreshRequestForgetsTheCycling)
{
    addEntry(u"Casa"_s);
    status.DialEntry(u"Casa"_s, 100);
    dialer.SetCycleEntries(true);
    status.DialEntry(u"Casa"_s, 100);
    EXPECT_EQ(dialer.RetryMode(), rmNone);
}

struct FailureCase {
    const char* name;
    std::vector<qint32> states;
    int error;
    bool retries;
    bool forward;
};

class DialFailure : public Dialer, public ::testing::WithParamInterface<FailureCase> {};

// A call that cannot have been answered cost nothing and is tried again by itself; one that may
// have been answered is left to the user, who is called to the screen.
TEST_P(DialFailure, RetriesOnlyWhatCostNothing)
{
    const FailureCase& c = GetParam();
    addEntry(u"Casa"_s);
    dialUp.setDialScript(SimulatedDialUp::failingDial(c.states, c.error));
    status.DialEntry(u"Casa"_s, 100);
    seconds(10);

    EXPECT_EQ(dialer.IsWaitingToRetry(), c.retries);
    EXPECT_EQ(foreground, std::vector<bool>{c.forward});
    EXPECT_TRUE(dialer.IsOpen());
    EXPECT_TRUE(dialer.RetryOffered());
    EXPECT_TRUE(dialer.EntryChoiceEnabled());
    EXPECT_EQ(dialer.StateText(), dialer.LastErrorText());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DialFailure,
    ::testing::Values(FailureCase{"NoAnswer", {St::OpeningPort, St::PortOpened}, 678, true, false},
                      FailureCase{"MaybeAnswered", {St::PortOpened, St::ConnectingDevice}, 678, false, true},
                      FailureCase{"AnsweredAndRefused", {St::DeviceConnected, St::Authenticating}, 691, false, true},
                      FailureCase{"BusyLine", {St::ConnectingDevice}, 676, true, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Dialer, RetryButtonDialsAgainAtOnce)
{
    addEntry(u"Casa"_s);
    dialUp.setDialScript(SimulatedDialUp::failingDial({St::DeviceConnected, St::Authenticating}, 691));
    status.DialEntry(u"Casa"_s, 100);
    seconds(10);
    ASSERT_FALSE(dialer.IsWaitingToRetry());
    dialUp.addEntry(u"Casa"_s, {u"mario"_s, u"segreta"_s, true}); // 691 forgot the password
    dialer.Retry();
    EXPECT_FALSE(dialer.RetryOffered());
    clock.advance(10);
    EXPECT_EQ(dialUp.dials().size(), 2u);
    EXPECT_EQ(dialer.Attempts(), 2);
}

TEST_F(Dialer, MenuDialOpensOrTellsWhatTheOpenDialerIsDoing)
{
    addEntry(u"Casa"_s);
    addEntry(u"Ufficio"_s);
    std::vector<std::pair<QString, int>> requested;
    status.OnDialRequested = [&](TStatus*, const QString& entry, int delayMs) {
        requested.push_back({entry, delayMs});
        dialer.DialRequested(entry, delayMs);
    };
    dialer.DialFromMenu(u"Casa"_s);
    EXPECT_EQ(requested, (std::vector<std::pair<QString, int>>{{u"Casa"_s, 100}}));

    dialer.DialFromMenu(u"Ufficio"_s);
    EXPECT_EQ(requested.size(), 1u);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(dialogs.shown[0].text, u"Connessione a Casa\rConnessione a Casa in corso..."_s);
}
