#include "DialerFixture.h"

#include "monitor/DialerStart.h"

#include "common/Dates.h"
#include "common/SystemInfo.h"
#include "common/VestrelError.h"
#include "platform/PowerRecorder.h"

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace St = DialUpState;

class Disconnection : public DialerFixture {
protected:
    Disconnection()
    {
        bindStatus();
        status.SetTax(tax(u"Telecom - TAT Urbana"_s));
        addEntry(u"Casa"_s);
    }

    // A line of "Casa" that is up, counted as the poll sees it.
    void onlineConnection()
    {
        dialUp.addConnection(u"Casa"_s, St::Connected, u"10.0.0.9"_s);
        seconds(1);
        ASSERT_TRUE(IsMtxState(TMtxState::RasConnected));
    }

    int questions() const
    {
        return int(std::count_if(dialogs.shown.begin(), dialogs.shown.end(),
                                 [](const auto& s) { return s.kind == DialogKind::YesNo; }));
    }
};

// Answers the questions and notes what the live status was when each was asked.
class QuestionProbe final : public Dialogs {
public:
    QuestionProbe(const TStatus& status, DialogAnswer answer)
        : m_status(status), m_answer(answer), m_previous(&Dialogs::instance())
    {
        Dialogs::setInstance(this);
    }
    ~QuestionProbe() override { Dialogs::setInstance(m_previous); }

    DialogAnswer show(DialogKind kind, const QString& text) override
    {
        asked.push_back({text, m_status.Elapsed(), m_status.QuestionPending()});
        return kind == DialogKind::YesNo ? m_answer : DialogAnswer::Ok;
    }

    struct Asked {
        QString text;
        qint64 elapsed;
        bool pending;
    };
    std::vector<Asked> asked;

private:
    const TStatus& m_status;
    DialogAnswer m_answer;
    Dialogs* m_previous;
};

enum class Before { TapiCall, ManualCountWithALine, OnlineLine, OwnDial };

struct StopCase {
    const char* name;
    Before before;
    bool askTapi;
    DialogAnswer answer;
    TMtxState after;
    int questions;
    const char16_t* notice;
    bool hungUp;
    int logged;
};

class StopConnection : public Disconnection, public ::testing::WithParamInterface<StopCase> {
protected:
    void bringUp(Before before)
    {
        switch (before) {
        case Before::TapiCall:
            SendMtxEvent(TMtxEvent::TapiConnected);
            break;
        case Before::ManualCountWithALine:
            ras.SetCheckBusy(false); // the line is up, but the count is the manual one
            status.SetEntryName(ManualStartKey());
            SendMtxEvent(TMtxEvent::ManualStart);
            dialUp.addConnection(u"Casa"_s, St::Connected);
            break;
        case Before::OnlineLine:
            onlineConnection();
            break;
        case Before::OwnDial:
            status.DialEntry(u"Casa"_s, 100);
            seconds(1);
            ASSERT_TRUE(IsMtxState(TMtxState::RasDialing));
            ASSERT_TRUE(dialer.IsOpen());
            break;
        }
    }
};

} // namespace

TEST_P(StopConnection, StopsWhatTheStateAllows)
{
    const StopCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(bringUp(c.before));
    dialogs.setNextAnswer(c.answer);
    notices.shown.clear();

    disconnection.StopConnection(c.askTapi);

    EXPECT_TRUE(IsMtxState(c.after)) << status.ConnectionStateText().toStdString();
    EXPECT_EQ(questions(), c.questions);
    if (c.notice) {
        EXPECT_TRUE(noticed(QString::fromUtf16(c.notice)));
    } else {
        EXPECT_TRUE(notices.shown.empty());
    }
    EXPECT_EQ(!dialUp.hangUps().empty(), c.hungUp);
    EXPECT_EQ(dialUp.connectionCount(), 0);
    EXPECT_EQ(log.Units().Count(), c.logged);
    EXPECT_FALSE(dialer.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    States, StopConnection,
    ::testing::Values(
        StopCase{"TapiCallAnsweredNoGoesOn", Before::TapiCall, true, DialogAnswer::No, TMtxState::TapiStart, 1,
                 nullptr, false, 0},
        StopCase{"TapiCallAnsweredYesStopsCounting", Before::TapiCall, true, DialogAnswer::Yes, TMtxState::Idle, 1,
                 nullptr, false, 1},
        StopCase{"TapiCallUnaskedStopsCounting", Before::TapiCall, false, DialogAnswer::No, TMtxState::Idle, 0,
                 nullptr, false, 1},
        StopCase{"ManualCountStopsAndTheLineGoesToo", Before::ManualCountWithALine, true, DialogAnswer::No,
                 TMtxState::Idle, 0, u"Interruzione conteggio avvio manuale", true, 1},
        StopCase{"OnlineLineIsHungUpAndItsEndIsCounted", Before::OnlineLine, true, DialogAnswer::No, TMtxState::Idle,
                 0, u"Interruzione connessione Ras in corso...", true, 1},
        StopCase{"OwnDialIsCancelled", Before::OwnDial, false, DialogAnswer::No, TMtxState::Idle, 0,
                 u"Interruzione selezione Ras", true, 0}),
    [](const auto& row) { return std::string(row.param.name); });

struct LimitCase {
    const char* name;
    bool entryOn;
    qint32 entryTimeOut;
    bool entryAsks;
    bool profileOn;
    qint32 profileTimeOut;
    bool profileAsks;
    DialogAnswer answer;
    qint64 dueAt;
    bool asked;
    bool stopped;
};

class TimeLimit : public Disconnection, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TimeLimit, FiresAfterTheLastAllowedSecond)
{
    const LimitCase& c = GetParam();
    status.SetEntryName(ManualStartKey());
    TEntryItem* entry = status.Entry();
    entry->SetAutoDisconnect(c.entryOn);
    entry->SetTimeOutConnection(c.entryTimeOut);
    entry->SetAskDisconnect(c.entryAsks);
    TProfileItem* profile = status.Profile();
    profile->SetAutoDisconnect(c.profileOn);
    profile->SetTimeOutConnection(c.profileTimeOut);
    profile->SetAskDisconnect(c.profileAsks);
    QuestionProbe probe(status, c.answer);
    SendMtxEvent(TMtxEvent::ManualStart);
    ASSERT_TRUE(watch.IsEnabled());

    seconds(int(c.dueAt) - 1);
    EXPECT_TRUE(probe.asked.empty());
    EXPECT_FALSE(noticed(u"Tempo di connessione scaduto!!!"_s));
    seconds(1);
    EXPECT_TRUE(noticed(u"Tempo di connessione scaduto!!!"_s));
    EXPECT_FALSE(watch.IsEnabled());

    ASSERT_EQ(probe.asked.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(probe.asked[0].text, u"Tempo scaduto!!!\r\rInterrompi la connessione?"_s);
        EXPECT_EQ(probe.asked[0].elapsed, c.dueAt);
        EXPECT_TRUE(probe.asked[0].pending);
    }
    EXPECT_FALSE(status.QuestionPending());
    ASSERT_EQ(log.Units().Count(), c.stopped ? 1 : 0);
    if (c.stopped) {
        EXPECT_EQ(SecondsOf(log.Units()[0]->F() - log.Units()[0]->I()), c.dueAt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TimeLimit,
    ::testing::Values(
        LimitCase{"EntryLimitAskedYes", true, 3600, true, false, 0, false, DialogAnswer::Yes, 3601, true, true},
        LimitCase{"EntryLimitUnasked", true, 60, false, false, 0, false, DialogAnswer::No, 61, false, true},
        LimitCase{"ProfileLimitAskedNo", false, 30, true, true, 120, true, DialogAnswer::No, 121, true, false},
        LimitCase{"EntryLimitWinsWhenBothAreDue", true, 60, true, true, 60, true, DialogAnswer::No, 61, true, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Disconnection, NoToTheLimitIsNotAskedAgainUntilTheWatchRestarts)
{
    status.Profile()->SetAutoDisconnect(true);
    status.Profile()->SetTimeOutConnection(60);
    onlineConnection();
    seconds(61);
    EXPECT_EQ(questions(), 1);
    seconds(600);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(IsMtxState(TMtxState::RasConnected));

    watch.Start();
    seconds(1);
    EXPECT_EQ(questions(), 2);
}

TEST_F(Disconnection, ScheduledHourHangsUpAndPowersOffBeforeAnyLimit)
{
    PowerRecorder power;
    PowerService::setInstance(&power);
    status.Profile()->SetAutoDisconnect(true);
    status.Profile()->SetTimeOutConnection(30);
    onlineConnection();
    status.SetScheduledDisconnect(Now() + EncodeTime(0, 0, 30));
    status.SetShutdownAtDisconnect(true);
    notices.shown.clear();

    seconds(31); // the profile limit is due in the last of these seconds
    PowerService::setInstance(nullptr);
    EXPECT_EQ(noticeTexts(), (std::vector<QString>{u"E' l'ora X di disconnessione!!!"_s,
                                                   u"Interruzione connessione Ras in corso..."_s,
                                                   u"Chiusura di "_s + OSName() + u" in corso..."_s}));
    EXPECT_EQ(power.requests(), std::vector<bool>{false}) << "not forced";
    EXPECT_EQ(questions(), 0) << "the profile limit is due too, but the hour comes first";
    EXPECT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(status.ScheduledDisconnect(), 0.0) << "cleared by the reset after the connection";
    EXPECT_TRUE(status.ShutdownAtDisconnect());
}

TEST_F(Disconnection, LineThatWillNotGoKeepsTheHourDueButPowerOffIsAskedOnce)
{
    status.Profile()->SetAutoDisconnect(true);
    status.Profile()->SetTimeOutConnection(1);
    onlineConnection();
    dialUp.setHangUpDelay(3600 * 1000);
    status.SetScheduledDisconnect(Now());
    status.SetShutdownAtDisconnect(true);

    seconds(5);
    EXPECT_GE(dialUp.hangUps().size(), 4u) << "the stop is tried again every second";
    EXPECT_EQ(questions(), 0) << "while the hour is due the limits wait";
    std::vector<QString> errors;
    for (const auto& s : dialogs.shown)
        if (s.kind == DialogKind::Error)
            errors.push_back(s.text);
    EXPECT_EQ(errors, std::vector<QString>{u"Impossibile chiudere "_s + OSName() +
                                           u"\r[Spegnimento non disponibile su questo sistema]"_s});
}

TEST_F(Disconnection, FailedStopAtTheHourIsANoticeAndTheWatchGoesOn)
{
    SendMtxEvent(TMtxEvent::TapiConnected);
    bool failOnce = true;
    machine.OnStopCounting = [&](TMtxMatrixStatus*) {
        if (std::exchange(failOnce, false))
            throw VestrelError(u"guasto"_s);
        status.StopCounting();
    };
    status.SetScheduledDisconnect(Now());

    seconds(1);
    ASSERT_TRUE(IsMtxState(TMtxState::TapiStart));
    const auto texts = noticeTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QString& t) {
        return t.startsWith(u"Problema durante la disconnessione: "_s) && t.endsWith(u"guasto"_s);
    }));
    seconds(1);
    EXPECT_TRUE(IsMtxState(TMtxState::Idle));
    EXPECT_EQ(log.Units().Count(), 1);
}

TEST_F(Disconnection, ScheduleRefusesAMomentThatHasPassed)
{
    const TDateTime now = Now();
    for (const TDateTime moment : {now - EncodeTime(0, 1, 0), now}) {
        EXPECT_FALSE(schedule::Schedule(status, moment, moment, true));
        ASSERT_FALSE(dialogs.shown.empty());
        EXPECT_EQ(dialogs.shown.back().text, u"Uhm...l'orario specificato è già trascorso..."_s);
    }
    EXPECT_EQ(status.ScheduledDisconnect(), 0.0);
    EXPECT_FALSE(status.ShutdownAtDisconnect());
    EXPECT_EQ(schedule::InitialMoment(status), now);
}

TEST_F(Disconnection, ScheduleTakesTheDateOfOnePickerAndTheTimeOfTheOther)
{
    const TDateTime otherDay = EncodeDateTime(1999, 7, 1, 12, 30, 15);
    ASSERT_TRUE(schedule::Schedule(status, Now(), otherDay, true));
    EXPECT_EQ(status.ScheduledDisconnect(), EncodeDateTime(2001, 3, 14, 12, 30, 15));
    EXPECT_TRUE(status.ShutdownAtDisconnect());
    EXPECT_TRUE(noticed(u"Disconnessione programmata: mercoledì 14 marzo 2001 12:30:15"_s));
    EXPECT_EQ(schedule::InitialMoment(status), status.ScheduledDisconnect());

    schedule::Cancel(status);
    EXPECT_EQ(status.ScheduledDisconnect(), 0.0);
    EXPECT_FALSE(status.ShutdownAtDisconnect());
    EXPECT_TRUE(noticed(u"Annullata la disconnessione programmata"_s));
}

TEST_F(Disconnection, HoursBoxMovesThePickersOnlyForAWholeNumber)
{
    const struct {
        const char16_t* text;
        std::optional<int> hours;
    } rows[] = {{u"3", 3}, {u" 2 ", 2}, {u"0", 0}, {u"", std::nullopt}, {u"1,5", std::nullopt},
                {u"tre", std::nullopt}};
    for (const auto& row : rows) {
        const QString text = QString::fromUtf16(row.text);
        const std::optional<TDateTime> moment = schedule::MomentInHours(text);
        ASSERT_EQ(moment.has_value(), row.hours.has_value()) << text.toStdString();
        if (row.hours) {
            EXPECT_EQ(DateTimeToMSecs(*moment), DateTimeToMSecs(Now()) + *row.hours * 3600000LL) << text.toStdString();
        }
    }
}

struct StartCase {
    const char* name;
    bool winStart;
    qint32 lineState; // -1: no line
    bool removeEntry;
    bool dials;
};

class StartDial : public Disconnection, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartDial, DialsTheStartEntryOnlyWhenAllIsQuiet)
{
    const StartCase& c = GetParam();
    status.Profile()->SetRasStartEntry(u"Casa"_s);
    status.Profile()->SetTimeWaitApplications(5);
    status.SetStartedAtWinStart(c.winStart);
    std::vector<std::pair<QString, int>> requested;
    status.OnDialRequested = [&](TStatus*, const QString& entry, int delayMs) { requested.push_back({entry, delayMs}); };
    ras.SetCheckBusy(false);
    TStartEntryDial start(status, ras);

    start.Arm();
    ASSERT_TRUE(start.IsArmed());
    if (c.lineState >= 0)
        dialUp.addConnection(u"Altra"_s, c.lineState);
    if (c.removeEntry)
        dialUp.removeEntry(u"Casa"_s);
    clock.advance(500);

    EXPECT_FALSE(start.IsArmed()) << "one shot";
    EXPECT_FALSE(status.StartedAtWinStart());
    if (c.dials) {
        EXPECT_EQ(requested, (std::vector<std::pair<QString, int>>{{u"Casa"_s, 5001}}));
    } else {
        EXPECT_TRUE(requested.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Conditions, StartDial,
                         ::testing::Values(StartCase{"Quiet", false, -1, false, true},
                                           StartCase{"LineOffline", false, St::Disconnected, false, true},
                                           StartCase{"StartedWithTheSession", true, -1, false, false},
                                           StartCase{"LineDialling", false, St::OpeningPort, false, false},
                                           StartCase{"LineConnecting", false, St::Authenticating, false, false},
                                           StartCase{"LineOnline", false, St::Connected, false, false},
                                           StartCase{"EntryGone", false, -1, true, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Disconnection, StartDialIsNotArmedForAnEntryOutsideThePhonebook)
{
    TStartEntryDial start(status, ras);
    for (const QString& name : {QString(), u"Ufficio"_s}) {
        status.Profile()->SetRasStartEntry(name);
        start.Arm();
        EXPECT_FALSE(start.IsArmed()) << name.toStdString();
    }
}
