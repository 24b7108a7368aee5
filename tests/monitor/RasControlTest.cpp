#include "RasFixture.h"

#include "common/ErrorText.h"
#include "common/VestrelError.h"

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace St = DialUpState;

TEST_F(RasTest, PollRaisesOneEventPerChangeOfTheLine)
{
    dialUp.scriptConnection(u"Casa"_s, {{500, St::OpeningPort}, {1500, St::Authenticating}, {3500, St::Connected}},
                            u"10.1.2.3"_s, 6500);
    ras.SetCheckBusy(true);
    clock.advance(1000);
    EXPECT_EQ(take(), (QStringList{u"Count 1"_s, u"Dialing"_s}));
    EXPECT_EQ(ras.ActiveConnectionName(), u"Casa"_s);
    EXPECT_EQ(ras.ConnectionIPAddress(u"Casa"_s), QString()) << "no address before it is online";
    clock.advance(2000);
    EXPECT_EQ(take(), (QStringList{u"Connecting"_s}));
    clock.advance(1000);
    EXPECT_EQ(take(), (QStringList{u"OnLine"_s}));
    EXPECT_EQ(ras.ConnectionIPAddress(u"Casa"_s), u"10.1.2.3"_s);
    EXPECT_EQ(ras.ConnectionIPAddress(u"Lavoro"_s), QString());
    clock.advance(3000);
    EXPECT_EQ(take(), (QStringList{u"Count 0"_s, u"OffLine"_s}));
    EXPECT_EQ(RasControlProcedure(), u"DoRasOffLine"_s);
    EXPECT_EQ(ras.ActiveConnectionName(), QString());
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'|').toStdString();
}

TEST_F(RasTest, StatesPassedBetweenTwoPollsRaiseNothingOfTheirOwn)
{
    dialUp.scriptConnection(u"Casa"_s, {{100, St::OpeningPort}, {400, St::Connected}}, u"10.0.0.9"_s, -1);
    ras.SetCheckBusy(true);
    clock.advance(1000);
    EXPECT_EQ(take(), (QStringList{u"Count 1"_s, u"OnLine"_s}));
}

TEST_F(RasTest, ConnectionAlreadyOnlineAtStartIsReportedByTheFirstPoll)
{
    dialUp.addConnection(u"Casa"_s, St::Connected, u"10.0.0.9"_s);
    clock.advance(5000);
    EXPECT_TRUE(take().isEmpty()) << "no polling before CheckBusy";
    ras.SetCheckBusy(true);
    EXPECT_TRUE(ras.CheckBusy());
    clock.advance(1000);
    EXPECT_EQ(take(), (QStringList{u"Count 1"_s, u"OnLine"_s}));
}

TEST_F(RasTest, OnlyTheFirstConnectionDrivesTheLineState)
{
    const DialUpHandle first = dialUp.addConnection(u"Casa"_s, St::Connected);
    ras.CheckConnection();
    take();
    const DialUpHandle second = dialUp.addConnection(u"Lavoro"_s, St::OpeningPort);
    ras.CheckConnection();
    EXPECT_EQ(take(), (QStringList{u"Count 2"_s}));
    dialUp.removeConnection(second);
    ras.CheckConnection();
    EXPECT_EQ(take(), (QStringList{u"Count 1"_s}));
    dialUp.removeConnection(first);
    ras.CheckConnection();
    EXPECT_EQ(take(), (QStringList{u"Count 0"_s, u"OffLine"_s}));
}

TEST_F(RasTest, FailedEnumerationBetweenTwoPollsRaisesNothing)
{
    dialUp.addConnection(u"Casa"_s, St::Connected);
    ras.CheckConnection();
    take();
    dialUp.failNext(SimulatedDialUp::Operation::Connections, 600);
    ras.CheckConnection();
    dialUp.failNext(SimulatedDialUp::Operation::State, 6);
    ras.CheckConnection();
    ras.CheckConnection();
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(ras.LastLineState(), LineOnline);
}

struct StateRow {
    qint32 state;
    TLineState line;
};

class LineStateOf : public RasTest, public ::testing::WithParamInterface<StateRow> {};

TEST_P(LineStateOf, FirstConnectionsState)
{
    dialUp.addConnection(u"Casa"_s, GetParam().state);
    EXPECT_EQ(ras.ProbeLineState(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Probe, LineStateOf,
                         ::testing::Values(StateRow{0, LineDialing}, StateRow{2, LineDialing},
                                           StateRow{3, LineConnecting}, StateRow{21, LineConnecting},
                                           StateRow{St::Connected, LineOnline},
                                           StateRow{St::Disconnected, LineOffline},
                                           StateRow{0x1000, LineUnknown}, StateRow{22, LineUnknown}));

TEST_F(RasTest, ExceptionInAnEventHandlerStopsPollingForGood)
{
    ras.OnRasOnLine = [](TRasControl*) { throw VestrelError(u"guasto"_s); };
    dialUp.addConnection(u"Casa"_s, St::Connected);
    ras.SetCheckBusy(true);
    EXPECT_THROW(clock.advance(1000), VestrelError);
    EXPECT_EQ(take(), QStringList{u"Count 1"_s});
    EXPECT_EQ(RasControlProcedure(), u"DoRasOnLine"_s);
    EXPECT_FALSE(ras.CheckBusy());
    ras.SetCheckBusy(true);
    dialUp.addConnection(u"Lavoro"_s, St::Connected);
    clock.advance(3000);
    EXPECT_TRUE(take().isEmpty());
}

// A service that has only the entries and logins: every other operation is missing.
class EntriesOnly final : public DialUpService {
public:
    DialUpResult<QStringList> entries() override { return {DialUpOk, {u"Casa"_s}}; }
    DialUpResult<DialUpCredentials> entryCredentials(const QString&) override { return {DialUpUnavailable, {}}; }
    DialUpCode setEntryCredentials(const QString&, const QString&, const QString&, bool) override
    {
        return DialUpUnavailable;
    }
};

TEST_F(RasTest, MissingOperationsDegradeToTheirEmptyResults)
{
    EntriesOnly service;
    TRasControl bare(service);
    QStringList errors;
    bare.OnRasError = [&](TRasControl*, int error, int last) {
        errors.append(QString::number(error) + u' ' + QString::number(last));
    };
    bare.GetRasEntries(errors);
    EXPECT_EQ(errors, QStringList{u"Casa"_s});
    errors.clear();
    EXPECT_EQ(LastRasAPI(), u"RasEnumEntries"_s);

    EXPECT_EQ(bare.ProbeLineState(), LineUnknown);
    EXPECT_FALSE(bare.HasConnections());
    EXPECT_EQ(bare.EntryPhoneNumber(u"Casa"_s), QString());
    EXPECT_FALSE(bare.GetEntryCredentials(u"Casa"_s).Success);
    bare.Dial(u"Casa"_s, u"mario"_s, u"pw"_s);
    EXPECT_EQ(errors, QStringList{u"1 0"_s});
    EXPECT_EQ(LastRasAPI(), u"RasEnumEntries"_s) << "missing functions are not resolved";
    EXPECT_EQ(failures.value(0),
              u"Fallita la RasGetEntryProperties: Impossibile caricare dinamicamente la funzione dalla DLL"_s);
    EXPECT_TRUE(failures.contains(u"Fallita la RasEnumConnections"_s));
}

TEST_F(RasTest, EntriesAndLogins)
{
    dialUp.addEntry(u"Casa"_s, {u"mario"_s, u"segreta"_s, true});
    dialUp.addEntry(u"Lavoro"_s);
    QStringList names{u"vecchia"_s};
    ras.GetRasEntries(names);
    EXPECT_EQ(names, (QStringList{u"Casa"_s, u"Lavoro"_s}));
    EXPECT_TRUE(ras.IsRasEntry(u"Lavoro"_s));
    EXPECT_FALSE(ras.IsRasEntry(u"Altro"_s));

    const TEntryCredentials saved = ras.GetEntryCredentials(u"Casa"_s);
    EXPECT_TRUE(saved.Success);
    EXPECT_EQ(saved.UserName, u"mario"_s);
    EXPECT_EQ(saved.Password, u"segreta"_s);
    EXPECT_TRUE(saved.PasswordPresent);
    EXPECT_TRUE(ras.SetEntryCredentials(u"Casa"_s, u"anna"_s, QString(), true));
    EXPECT_FALSE(ras.GetEntryCredentials(u"Casa"_s).PasswordPresent);
    EXPECT_EQ(LastRasAPI(), u"RasGetCredentials"_s);

    EXPECT_FALSE(ras.SetEntryCredentials(u"Altro"_s, u"x"_s, u"y"_s, false));
    EXPECT_FALSE(ras.GetEntryCredentials(u"Altro"_s).Success);
    EXPECT_EQ(failures, (QStringList{u"Fallita la RasSetCredentials: Impossibile trovare la voce della rubrica"_s,
                                     u"Fallita la RasGetCredentials: Impossibile trovare la voce della rubrica"_s}));
}

struct NumberRow {
    const char* name;
    DialUpEntryProperties properties;
    const char* number;
};

class EntryPhoneNumber : public RasTest, public ::testing::WithParamInterface<NumberRow> {};

TEST_P(EntryPhoneNumber, ComposedFromTheEntrysProperties)
{
    dialUp.setEntryProperties(u"Voce"_s, GetParam().properties);
    EXPECT_EQ(ras.EntryPhoneNumber(u"Voce"_s), QString::fromLatin1(GetParam().number));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EntryPhoneNumber,
    ::testing::Values(NumberRow{"Italy", {u"1234567"_s, u"02"_s, 39, true}, "021234567"},
                      NumberRow{"Abroad", {u"7946"_s, u"20"_s, 44, true}, "0044207946"},
                      NumberRow{"LocalOnly", {u"7946"_s, u"20"_s, 44, false}, "7946"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(RasTest, PhoneNumberOfAnUnknownEntryIsReported)
{
    EXPECT_EQ(ras.EntryPhoneNumber(u"Altro"_s), QString());
    EXPECT_EQ(failures, QStringList{u"Fallita la RasGetEntryProperties: Impossibile trovare la voce della rubrica"_s});
}

TEST(ClassifyDialFailure, ByErrorAndLastState)
{
    struct Row {
        int error, lastState, expected;
    };
    for (const Row r : {Row{678, 2, 1}, Row{676, 5, 2}, Row{678, 4, 0}, Row{678, 1, 2}, Row{678, 0, 2},
                        Row{691, 3, 0}, Row{633, 14, 2}, Row{692, 2, 2}})
        EXPECT_EQ(TRasControl::ClassifyDialFailure(r.error, r.lastState), r.expected)
            << r.error << " after " << r.lastState;
}

TEST_F(RasTest, ErrorTexts)
{
    EXPECT_EQ(ras.RasErrorText(1), u"Impossibile caricare dinamicamente la funzione dalla DLL"_s);
    EXPECT_EQ(ras.RasErrorText(676), u"La linea è occupata"_s);
    EXPECT_EQ(ErrorText(691), ras.RasErrorText(691)) << "installed for 600..993";
    dialUp.setFailure(777, u"  Il modem remoto è guasto  "_s);
    EXPECT_EQ(ErrorText(777), u"Il modem remoto è guasto"_s);
}

} // namespace
