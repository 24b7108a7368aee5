#include "monitor/Performance.h"
#include "monitor/SysResource9x.h"

#include "common/Registry.h"
#include "platform/ResourcesSimulated.h"
#include "platform/TrafficSimulated.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;
using platform::TrafficSimulated;

namespace {

// A still clock, scripted counters and the reported changes as "counter=value" in order.
class TrafficTest : public ::testing::Test {
protected:
    TrafficTest()
    {
        SetRegistryFile(dir.filePath(u"Vestrel.ini"_s));
        perf.OnChangeData = [this](const TInstanceData& instance, int index, quint64 value) {
            changes << QString::number(index) + u'=' + QString::number(value);
            EXPECT_EQ(instance.Value[std::size_t(index)], value);
        };
        perf.OnError = [this](TPerformance* sender, const QString& msg) {
            EXPECT_EQ(sender, &perf);
            errors << msg;
        };
    }
    ~TrafficTest() override { SetRegistryFile({}); }

    QStringList take() { return std::exchange(changes, {}); }

    QTemporaryDir dir;
    FakeClock clock;
    ScriptedDialogs dialogs;
    TrafficSimulated traffic;
    TPerformance perf{nullptr, &traffic};
    QStringList changes;
    QStringList errors;
};

} // namespace

TEST_F(TrafficTest, ReportsEachSecondOnlyWhatChanged)
{
    traffic.setCounters(u"ppp0"_s, 0, 0);
    perf.SetActiveRAS(true);
    ASSERT_TRUE(perf.ActiveRAS());
    EXPECT_EQ(perf.Instance().Name, u"ppp0"_s);
    EXPECT_EQ(take(), QStringList{}) << "zero counters report nothing";

    traffic.setCounters(u"ppp0"_s, 120, 0);
    clock.advance(999);
    EXPECT_EQ(take(), QStringList{}) << "nothing before the second is up";
    clock.advance(1);
    EXPECT_EQ(take(), QStringList{u"0=120"_s});
    clock.advance(1000);
    EXPECT_EQ(take(), QStringList{}) << "unchanged counters report nothing";

    traffic.setCounters(u"ppp0"_s, 300, 4000);
    perf.ReadNow();
    EXPECT_EQ(take(), (QStringList{u"0=300"_s, u"1=4000"_s})) << "the last reading at the end";
    perf.SetActiveRAS(false);
    traffic.setCounters(u"ppp0"_s, 900, 9000);
    clock.advance(5000);
    perf.ReadNow();
    EXPECT_EQ(take(), QStringList{}) << "off reads nothing";
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TrafficTest, StaysOffUntilTheInterfaceExistsAndEndsQuietlyWhenItGoes)
{
    perf.SetActiveRAS(true);
    EXPECT_FALSE(perf.ActiveRAS()) << "no dial-up interface yet while connecting";

    traffic.setCounters(u"ppp0"_s, 500, 700);
    perf.SetActiveRAS(true); // the second try once the line is online
    ASSERT_TRUE(perf.ActiveRAS());
    EXPECT_EQ(take(), (QStringList{u"0=500"_s, u"1=700"_s})) << "the first reading counts";

    traffic.removeInterface(u"ppp0"_s); // the link went down before the last reading
    perf.ReadNow();
    EXPECT_FALSE(perf.ActiveRAS());
    EXPECT_TRUE(errors.isEmpty()) << "a vanished link is not a failure to warn about";
    EXPECT_EQ(perf.Instance().Value[0], 500u);
}

TEST_F(TrafficTest, ReadsTheNamedInterface)
{
    traffic.setCounters(u"ppp0"_s, 1, 1);
    traffic.setCounters(u"ppp1"_s, 2, 3);
    perf.SetInterfaceName(u"ppp1"_s);
    perf.SetActiveRAS(true);
    EXPECT_EQ(take(), (QStringList{u"0=2"_s, u"1=3"_s}));
}

TEST_F(TrafficTest, ReadsTheConnectionsInterfaceWhenItHasCounters)
{
    struct Row {
        const char* told;
        const char* read;
    };
    // ppp0 is the first dial-up interface; the connection's may be another one.
    const Row rows[] = {{"wwan0", "wwan0"}, {"ttyUSB0", "ppp0"}, {"", "ppp0"}};
    traffic.setCounters(u"ppp0"_s, 1, 1);
    traffic.setCounters(u"wwan0"_s, 2, 3);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.told);
        perf.SetConnectionInterface([&row] { return QString::fromLatin1(row.told); });
        perf.SetActiveRAS(true);
        EXPECT_EQ(perf.Instance().Name, QString::fromLatin1(row.read));
        perf.SetActiveRAS(false);
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TrafficTest, ALinkThatStaysUpCountsFromTheEndOfThePreviousConnection)
{
    traffic.setCounters(u"wwan0"_s, 1000, 2000);
    perf.SetActiveRAS(true);
    perf.SetActiveRAS(false);
    take();

    traffic.setCounters(u"wwan0"_s, 1500, 2600);
    perf.SetActiveRAS(true);
    EXPECT_EQ(take(), (QStringList{u"0=500"_s, u"1=600"_s}));
    perf.SetActiveRAS(false);

    traffic.removeInterface(u"wwan0"_s);
    traffic.setCounters(u"wwan0"_s, 1700, 2800); // created again: its counters start afresh
    perf.SetActiveRAS(true);
    EXPECT_EQ(take(), (QStringList{u"0=1700"_s, u"1=2800"_s}));
}

TEST_F(TrafficTest, AfterTheFirstErrorNothingMoreIsRead)
{
    traffic.setCounters(u"ppp0"_s, 10, 10);
    perf.SetActiveRAS(true);
    traffic.setFailure(u"ppp0"_s, u"Impossibile leggere tx_bytes"_s);
    clock.advance(1000);
    EXPECT_EQ(errors, QStringList{u"Impossibile leggere tx_bytes"_s});
    EXPECT_FALSE(perf.ActiveRAS());
    EXPECT_TRUE(perf.ErrorLatched());

    const int reads = traffic.readCount();
    traffic.setCounters(u"ppp0"_s, 20, 20);
    perf.SetActiveRAS(true);
    perf.ReadNow();
    clock.advance(3000);
    EXPECT_FALSE(perf.ActiveRAS());
    EXPECT_EQ(traffic.readCount(), reads);
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(TrafficTest, AFailureAtTheFirstReadingIsLatchedToo)
{
    traffic.setFailure(u"ppp0"_s, u"guasto"_s);
    perf.SetActiveRAS(true);
    EXPECT_FALSE(perf.ActiveRAS());
    EXPECT_EQ(errors, QStringList{u"guasto"_s});
    EXPECT_TRUE(perf.ErrorLatched());
}

TEST_F(TrafficTest, TheWarningIsShownOncePerInstallation)
{
    QList<bool> pending;
    const auto questionPending = [&](bool on) {
        pending << on;
        EXPECT_EQ(dialogs.shown.empty(), on) << "raised before the box opens, lowered after";
    };
    perf.WarnCountersUnavailable(u"Impossibile leggere tx_bytes"_s, questionPending);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Peccato la versione corrente del RAS DUN manager non consente il monitoraggio dei "
              u"byte in ingresso e uscita!\rPer attivare la funzionalità occorre aggiornare il "
              u"supporto del Dial Up Networking di Windows\r[Impossibile leggere tx_bytes]\r"
              u"Contatori simulati"_s);
    EXPECT_EQ(pending, (QList<bool>{true, false}));
    EXPECT_TRUE(ReadRegBool(u"Options"_s, u"DisableErrorBytesDialog"_s, false));

    perf.WarnCountersUnavailable(u"ancora"_s, questionPending);
    TPerformance nextRun(nullptr, &traffic);
    nextRun.WarnCountersUnavailable(u"ancora"_s);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

namespace {

class ResourceTest : public ::testing::Test {
protected:
    FakeClock clock;
    RecordingNotices notices;
    platform::ResourcesSimulated memory{50};
};

} // namespace

TEST_F(ResourceTest, LowResourcesRaiseTheNoticeEverySecondUntilTheyRecover)
{
    TSysResource9x resources(nullptr, &memory);
    EXPECT_EQ(resources.Limit(), 10);
    EXPECT_FALSE(resources.Active()) << "created inactive";
    resources.SetLimit(7);
    int raised = 0;
    resources.OnLowResource = [&](TSysResource9x* sender, int gdi, int user, int system) {
        ++raised;
        EXPECT_EQ((std::array{gdi, user, system}), (std::array{6, 6, 6}));
        ShowLowResourceNotice(*sender);
    };
    resources.SetActive(true);
    clock.advance(2000);
    EXPECT_EQ(raised, 0);

    memory.setPercent(6);
    clock.advance(3000);
    EXPECT_EQ(raised, 3);
    EXPECT_TRUE(resources.IsLow());
    ASSERT_EQ(notices.shown.size(), 3u);
    EXPECT_EQ(notices.shown[0].text,
              u"Risorse di sistema in esaurimento - Sistema: 6% Utente: 6% GDI: 6%\r"
              u"Chiudere qualche applicazione altrimenti Linux potrebbe bloccarsi!!!"_s);

    memory.setPercent(7);
    clock.advance(3000);
    EXPECT_EQ(raised, 3) << "at the limit is not below it";
    EXPECT_FALSE(resources.IsLow());
    EXPECT_TRUE(resources.Active());
}

TEST_F(ResourceTest, EnoughResourcesWhenTheMeasureIsMissingOrUnreadable)
{
    memory.setPercent(9);
    TSysResource9x resources(nullptr, &memory);
    EXPECT_FALSE(resources.EnoughResources(10));
    EXPECT_TRUE(resources.EnoughResources(9));
    EXPECT_EQ(resources.ResourcesText(), u"Sistema: 9% Utente: 9% GDI: 9%"_s);

    memory.setPercent(std::nullopt); // stops answering
    EXPECT_TRUE(resources.EnoughResources(10));
    resources.SetActive(true);
    clock.advance(1000);
    EXPECT_FALSE(resources.Active()) << "a failed reading switches the check off";

    platform::ResourcesSimulated none{std::nullopt};
    TSysResource9x absent(nullptr, &none);
    EXPECT_FALSE(absent.Exists());
    none.setPercent(1);
    EXPECT_TRUE(absent.EnoughResources(10)) << "the facility was not there at creation";
    absent.SetActive(true);
    clock.advance(1000);
    EXPECT_FALSE(absent.Active());
}

} // namespace vestrel::testing
