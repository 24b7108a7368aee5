#include "monitor/ConnectionReactions.h"
#include "monitor/DataShare.h"
#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"

#include "common/Dates.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "platform/NetworkManagerDialUp.h"
#include "platform/SimulatedDialUp.h"
#include "platform/SimulatedLine.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"
#include "support/ScriptedDialogs.h"
#include "tariff/Taxations.h"

#include <QTemporaryDir>

#include <algorithm>
#include <type_traits>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::testing;
using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString NoDialUpNotice = u"Nessun servizio di connessione remota trovato: Vestrel conterà "
                               u"gli avvii manuali e le chiamate sulla linea"_s;

// The data module on the given dial-up backend, monitoring.
template <class DialUp>
class DataShareOn : public ::testing::Test {
protected:
    DataShareOn() : clock(EncodeDateTime(2001, 3, 14, 10, 0, 0))
    {
        DialUpService::setInstance(&dialUp);
        LineService::setInstance(&line);
        if constexpr (std::is_same_v<DialUp, SimulatedDialUp>)
            dialUp.addEntry(u"Casa"_s);
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
        taxations.SetFileName(dir.filePath(u"Taxations.dat"_s));
        log.SetFileName(dir.filePath(u"Connections.dat"_s));
        settings.Entrys().AssignTax(u"Casa"_s, u"Telecom - TAT Urbana"_s);
        data = std::make_unique<TDataShare>(settings, taxations, log);
        reactions = std::make_unique<ConnectionReactions>(*data, taxations);
        data->Status().SetProfile(settings.Profiles()[0]);
        data->Status().SetFileName(dir.filePath(u"Status.dat"_s));
        data->StartMonitoring();
    }
    ~DataShareOn() override
    {
        reactions.reset();
        data.reset();
        LineService::setInstance(nullptr);
        DialUpService::setInstance(nullptr);
    }

    FakeClock clock;
    ScriptedDialogs dialogs;
    RecordingNotices notices;
    DialUp dialUp;
    SimulatedLine line;
    QTemporaryDir dir;
    TSettings settings;
    TTaxations taxations;
    TDataUnits log;
    std::unique_ptr<TDataShare> data;
    std::unique_ptr<ConnectionReactions> reactions;

    long noDialUpNotices() const
    {
        return std::count_if(notices.shown.begin(), notices.shown.end(), [](const auto& n) {
            return n.balloon == Balloon::Notice && n.text == NoDialUpNotice;
        });
    }

    // A one-minute manual count on the entry's tariff.
    void countOneManualMinute()
    {
        data->Status().SetTax(taxations.FindTax(u"Telecom - TAT Urbana"_s));
        data->Status().SetEntryName(ManualStartKey());
        SendMtxEvent(TMtxEvent::ManualStart);
        clock.advance(60'000);
        SendMtxEvent(TMtxEvent::ManualStop);
    }
};

using DataShare = DataShareOn<SimulatedDialUp>;
using DataShareWithoutDialUp = DataShareOn<NoDialUp>;

} // namespace

TEST_F(DataShare, ARasConnectionIsCountedFromConnectingToGoneAndLogged)
{
    dialUp.scriptConnection(u"Casa"_s,
                            {{1'000, DialUpState::ConnectingDevice},
                             {3'000, DialUpState::Connected}},
                            u"151.3.4.5"_s, 3'000 + 10 * 60 * 1000);
    clock.advance(5'000);
    EXPECT_TRUE(IsMtxState(TMtxState::RasConnected));
    EXPECT_EQ(data->Status().EntryName(), u"Casa"_s);
    EXPECT_EQ(data->Status().DinamicIP(), u"151.3.4.5"_s);
    ASSERT_NE(data->Status().Tax(), nullptr);
    EXPECT_EQ(data->Status().Tax()->DisplayName(), u"Telecom - TAT Urbana"_s);

    clock.advance(11 * 60 * 1000);
    EXPECT_TRUE(IsMtxState(TMtxState::Idle));
    ASSERT_EQ(log.Units().Count(), 1);
    const auto* record = log.Units()[0];
    EXPECT_EQ(record->N(), u"Casa"_s);
    EXPECT_EQ(record->Z(), u"151.3.4.5"_s);
    // Connecting the device is dialling (no charge); counting runs from online to gone.
    EXPECT_EQ(record->I(), EncodeDateTime(2001, 3, 14, 10, 0, 4));
    EXPECT_EQ(SecondsOf(record->F() - record->I()), 600);
    EXPECT_NEAR(record->L(), taxations.FindTax(u"Telecom - TAT Urbana"_s)->IntervalCost(record->I(), record->F()).Lire, 1e-9);
    // The tariffs were compared for it.
    const QString& last = notices.shown.back().text;
    EXPECT_TRUE(last.startsWith(u"Maledizione: \r"_s) ||
                last == u"Bene! Hai scelto la tariffa più conveniente! ;)"_s)
        << last.toStdString();
}

TEST_F(DataShare, AManualCountGoesThroughTheMachine)
{
    countOneManualMinute();
    ASSERT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(log.Units()[0]->N(), u"Avvio manuale"_s);
    EXPECT_EQ(SecondsOf(log.Units()[0]->F() - log.Units()[0]->I()), 60);
    EXPECT_EQ(noDialUpNotices(), 0) << "a dial-up service is present";
}

TEST_F(DataShareWithoutDialUp, SaysOnceThatThereIsNoServiceAndStillCountsAManualStart)
{
    EXPECT_EQ(noDialUpNotices(), 1);
    // Monitoring again, and the dial-up poll running on nothing, say nothing more.
    data->StartMonitoring();
    countOneManualMinute();
    clock.advance(60'000);
    EXPECT_EQ(noDialUpNotices(), 1);
    EXPECT_TRUE(IsMtxState(TMtxState::Idle));

    ASSERT_EQ(log.Units().Count(), 1);
    const auto* record = log.Units()[0];
    EXPECT_EQ(record->N(), u"Avvio manuale"_s);
    EXPECT_EQ(record->I(), EncodeDateTime(2001, 3, 14, 10, 0, 0));
    EXPECT_EQ(SecondsOf(record->F() - record->I()), 60);
    EXPECT_GT(record->L(), 0.0) << "the minute is costed on the chosen tariff";
}
