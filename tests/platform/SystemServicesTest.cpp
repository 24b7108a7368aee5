// Shutdown through logind and the system clock through timedated, against python3-dbusmock's
// templates on a private bus.
#include "PrivateBus.h"

#include "common/DateTime.h"
#include "common/SystemInfo.h"
#include "platform/LogindPower.h"
#include "platform/SystemClockService.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Logind = u"org.freedesktop.login1"_s;
const QString LogindPath = u"/org/freedesktop/login1"_s;
const QString Timedated = u"org.freedesktop.timedate1"_s;
const QString TimedatedPath = u"/org/freedesktop/timedate1"_s;

// Python run by the mock in place of a method: the service says no, as polkit would.
const QString Refuse = u"raise dbus.exceptions.DBusException('Permesso negato dal test', "
                       u"name='org.freedesktop.DBus.Error.AccessDenied')"_s;

class SystemServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString missing = PrivateBus::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "no D-Bus mock: " << missing.toStdString();
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
    }

    void mock(const QString& templateName, const QString& busName)
    {
        ASSERT_TRUE(bus.startTemplate(templateName, busName)) << bus.error().toStdString();
    }

    PrivateBus bus;
};

TEST_F(SystemServices, PowerOffAsksLogindInteractivelyWhateverTheForceFlag)
{
    mock(u"logind"_s, Logind);
    LogindPower power(bus.connection(), 5'000);

    EXPECT_TRUE(power.powerOff(false).ok);
    EXPECT_TRUE(power.powerOff(true).ok);

    const std::vector<PrivateBus::Call> calls = bus.calls(Logind, LogindPath);
    ASSERT_EQ(calls.size(), 2u) << bus.error().toStdString();
    for (const PrivateBus::Call& call : calls) {
        EXPECT_EQ(call.method, u"PowerOff"_s);
        EXPECT_EQ(call.args, QVariantList{true}); // interactive: polkit may ask
    }
}

TEST_F(SystemServices, RefusedPowerOffShowsTheServiceReasonInTheShutdownBox)
{
    mock(u"logind"_s, Logind);
    ASSERT_TRUE(bus.replaceMethod(Logind, LogindPath, u"org.freedesktop.login1.Manager"_s,
                                  u"PowerOff"_s, u"b"_s, Refuse))
        << bus.error().toStdString();
    LogindPower power(bus.connection(), 5'000);
    PowerService::setInstance(&power);
    ScriptedDialogs dialogs;

    const bool accepted = ShutdownWindows(false);
    PowerService::setInstance(nullptr);

    EXPECT_FALSE(accepted);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.shown[0].text, u"Impossibile chiudere "_s + OSName()
                                         + u"\r[Spegnimento non riuscito\r[Permesso negato dal test]]"_s);
}

TEST_F(SystemServices, SetTimeGetsWholeUtcSecondsAsAnAbsoluteInteractiveRequest)
{
    mock(u"timedated"_s, Timedated);
    TimedatedClock clock(bus.connection(), 5'000);
    SystemClockService::setInstance(&clock);

    struct Case {
        TDateTime utc;
        qint64 usec;
    };
    const Case cases[] = {
        {EncodeDateTime(1970, 1, 1, 0, 0, 0), 0},
        // The night Rome moves to summer time: read as UTC, not local; milliseconds dropped.
        {EncodeDateTime(2024, 3, 31, 1, 59, 59, 999), 1'711'850'399'000'000},
        // Past the 32-bit seconds counter.
        {EncodeDateTime(2038, 1, 19, 3, 14, 8, 500), 2'147'483'648'000'000},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SetSystemClock(c.utc)) << c.usec;
    SystemClockService::setInstance(nullptr);

    const std::vector<PrivateBus::Call> calls = bus.calls(Timedated, TimedatedPath);
    ASSERT_EQ(calls.size(), std::size(cases)) << bus.error().toStdString();
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].method, u"SetTime"_s);
        EXPECT_EQ(calls[i].args, (QVariantList{qlonglong(cases[i].usec), false, true})) << i;
    }
}

TEST_F(SystemServices, RefusedSetTimeReturnsFalseWithTheServiceReason)
{
    mock(u"timedated"_s, Timedated);
    ASSERT_TRUE(bus.replaceMethod(Timedated, TimedatedPath, u"org.freedesktop.timedate1"_s,
                                  u"SetTime"_s, u"xbb"_s, Refuse))
        << bus.error().toStdString();
    TimedatedClock clock(bus.connection(), 5'000);
    SystemClockService::setInstance(&clock);

    QString why;
    const bool set = SetSystemClock(EncodeDateTime(2024, 1, 1, 12, 0, 0), &why);
    SystemClockService::setInstance(nullptr);

    EXPECT_FALSE(set);
    EXPECT_EQ(why, u"Impostazione dell'orologio non riuscita\r[Permesso negato dal test]"_s);
}

TEST_F(SystemServices, AbsentServicesGiveTheUnavailableTexts)
{
    // Nothing owns the names on this bus: a backend chosen earlier meets a vanished service.
    EXPECT_EQ(LogindPower(bus.connection(), 5'000).powerOff(false).message,
              u"Spegnimento non disponibile su questo sistema"_s);
    EXPECT_EQ(TimedatedClock(bus.connection(), 5'000).setSystemTime(EncodeDate(2024, 1, 1)).message,
              u"Impostazione dell'orologio non disponibile su questo sistema"_s);

    // And the default choice falls back to the refusing services.
    EXPECT_NE(dynamic_cast<PowerUnavailable*>(CreateDefaultPowerService(bus.connection()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<SystemClockUnavailable*>(
                  CreateDefaultClockService(bus.connection()).get()),
              nullptr);
}

TEST_F(SystemServices, DefaultsUseTheServicesTheBusOffers)
{
    mock(u"logind"_s, Logind);
    mock(u"timedated"_s, Timedated);
    EXPECT_NE(dynamic_cast<LogindPower*>(CreateDefaultPowerService(bus.connection()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TimedatedClock*>(CreateDefaultClockService(bus.connection()).get()),
              nullptr);
}

TEST(SystemServiceDefaults, TestsNeverReachTheRealServices)
{
    // The test main disables both defaults, so a test that forgets to install a recorder
    // cannot power the machine off or move its clock.
    EXPECT_EQ(PowerService::instance().powerOff(false).message, PowerOffUnavailableText());
    QString why;
    EXPECT_FALSE(SetSystemClock(EncodeDate(2024, 1, 1), &why));
    EXPECT_EQ(why, SetClockUnavailableText());
}

} // namespace
