// The ModemManager line backend against the mock of tests/platform/modemmanager.py on a private
// bus, watched by the program's line monitor.
#include "PrivateBus.h"

#include "config/Settings.h"
#include "monitor/TapiControl.h"
#include "monitor/TapiMonitorStart.h"
#include "platform/ModemManagerLine.h"
#include "platform/SimulatedLine.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace CS = LineCallState;
namespace DM = LineDisconnectMode;

const QString Mm = u"org.freedesktop.ModemManager1"_s;
const QString MmPath = u"/org/freedesktop/ModemManager1"_s;
const QString MockIface = u"org.freedesktop.DBus.Mock"_s;
const QString Template = QStringLiteral(VESTREL_PLATFORM_TESTS "/modemmanager.py");

// MMCallState and MMCallDirection.
enum : qint32 { Unknown = 0, Dialing = 1, RingingOut = 2, RingingIn = 3, Active = 4, Terminated = 7 };
enum : qint32 { Incoming = 1, Outgoing = 2 };

class ModemManagerLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString missing = PrivateBus::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "no D-Bus mock: " << missing.toStdString();
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
    }

    void startModemManager()
    {
        ASSERT_TRUE(bus.startTemplate(Template, Mm)) << bus.error().toStdString();
    }

    QDBusMessage mock(const QString& method, const QVariantList& args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(Mm, MmPath, MockIface, method);
        call.setArguments(args);
        const QDBusMessage reply = bus.connection().call(call, QDBus::Block, 5'000);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply;
    }
    static QVariant path(const QString& p) { return QVariant::fromValue(QDBusObjectPath(p)); }
    static QString pathOf(const QDBusMessage& reply)
    {
        return reply.arguments().isEmpty()
                   ? QString()
                   : reply.arguments().constFirst().value<QDBusObjectPath>().path();
    }

    QString addModem(const QString& manufacturer, const QString& model, const QString& port,
                     bool voice)
    {
        return pathOf(mock(u"AddModem"_s, {manufacturer, model, port, voice}));
    }

    // Lets the signals in until `done`, for at most `ms`.
    template <class Done>
    bool waitFor(Done done, int ms = 3'000)
    {
        const QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    PrivateBus bus;
};

QStringList namesOf(TTapiControl& tapi)
{
    QStringList names;
    for (const TDevice& device : tapi.Devices())
        names << device.Name;
    return names;
}

TEST_F(ModemManagerLineTest, ListsTheModemsThatHaveVoiceByMakeAndModel)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    addModem(u"Quectel"_s, u"EC25"_s, u"ttyUSB2"_s, true);
    addModem(u"Sierra Wireless"_s, u"MC7455"_s, u"cdc-wdm0"_s, false);
    addModem(u"QUECTEL"_s, u"EC25"_s, u"ttyUSB6"_s, true);
    addModem(u"Huawei"_s, u" E3372 "_s, u"ttyUSB9"_s, true);
    addModem({}, {}, u"ttyACM0"_s, true);

    ModemManagerLine line(bus.connection(), 3'000);
    TTapiControl tapi(line);
    // The data-only modem is not a line; two alike are told apart by their port.
    EXPECT_EQ(namesOf(tapi), (QStringList{u"Quectel EC25 (ttyUSB2)"_s, u"QUECTEL EC25 (ttyUSB6)"_s,
                                          u"Huawei E3372"_s, u"ttyACM0"_s}));
    const LineResult<LineDeviceCaps> caps = line.deviceCaps(2);
    ASSERT_TRUE(caps.ok());
    EXPECT_TRUE(caps.value.mediaModes & LineMediaMode::Mixed) << "the monitor opens mixed lines";
    EXPECT_EQ(line.deviceCaps(4).code, LineErrBadDeviceId);
}

// One call on the watched modem: its first state as it appears, then what the test does to it.
struct CallRow {
    const char* name;
    qint32 direction;
    qint32 firstState;
    // (MMCallState, MMCallStateReason); a state of -1 removes the call object, one of -2 gives
    // the call its number late.
    std::vector<std::pair<qint32, quint32>> then;
    // The line states (with their modes) the monitor receives.
    std::vector<LineStateStep> expected;
    QStringList events;
};

class ModemManagerCalls : public ModemManagerLineTest,
                          public ::testing::WithParamInterface<CallRow> {};

TEST_P(ModemManagerCalls, ReachTheLineMonitorAsItsCallStatesWithTheNumber)
{
    const CallRow& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    addModem(u"Sierra Wireless"_s, u"MC7455"_s, u"cdc-wdm0"_s, false);
    const QString modem = addModem(u"Quectel"_s, u"EC25"_s, u"ttyUSB2"_s, true);

    ModemManagerLine line(bus.connection(), 3'000);
    TTapiControl tapi(line);
    std::vector<LineStateStep> states;
    std::vector<LineCallHandle> handles;
    QStringList events;
    tapi.OnNotifyTapiMsg = [&](TTapiControl*, quint64 call, int msg, qint64 p1, qint64 p2, qint64) {
        if (msg == LineMessage::CallState) {
            states.push_back({quint32(p1), quint32(p2)});
            handles.push_back(call);
        }
    };
    const auto log = [&events](const char* what) {
        return [&events, what](TTapiControl*, const TCallInfo& info) {
            events << QString::fromLatin1(what) + u' ' + info.CallNumber + u" caller=" + info.CallerID
                          + u" called=" + info.CalledID;
        };
    };
    tapi.OnDialing = log("Dialing");
    tapi.OnConnected = log("Connected");
    tapi.OnDisconnected = log("Disconnected");
    tapi.OnNewCallInfo = log("Info");
    ASSERT_EQ(tapi.IndexOfDevice(u"quectel ec25"_s), 0);
    tapi.StartMonitor(tapi.Devices()[0]);
    ASSERT_TRUE(tapi.MonitoredDevice());

    const QString number = row.then.empty() || row.then.front().first != -2 ? u"0612345678"_s
                                                                               : QString();
    const QString call = pathOf(mock(u"AddCall"_s, {path(modem), number, row.direction, row.firstState}));
    ASSERT_TRUE(waitFor([&] { return !states.empty(); })) << "the new call reaches the monitor";
    for (const auto& step : row.then) {
        const size_t before = states.size();
        if (step.first == -1)
            mock(u"DeleteCall"_s, {path(modem), path(call)});
        else if (step.first == -2)
            mock(u"SetCallNumber"_s, {path(call), u"0612345678"_s});
        else
            mock(u"SetCallState"_s, {path(call), step.first, step.second});
        if (step.first == -2) {
            ASSERT_TRUE(waitFor([&] { return !events.isEmpty() && events.back().startsWith(u"Info"_s); }));
        } else {
            ASSERT_TRUE(waitFor([&] { return states.size() > before; })) << "state " << step.first;
        }
    }
    waitFor([&] { return states.size() >= row.expected.size(); });
    EXPECT_EQ(states, row.expected);
    EXPECT_EQ(events, row.events);
    ASSERT_FALSE(handles.empty());
    EXPECT_TRUE(std::all_of(handles.begin(), handles.end(),
                            [&](LineCallHandle h) { return h == handles.front(); }));
    if (!states.empty() && states.back().state == CS::Idle) {
        EXPECT_EQ(line.callInfo(handles.front()).code, LineErrInvalCallHandle)
            << "the monitor released the idle call";
    }
}

const QString In = u" caller=0612345678 called="_s;
const QString Out = u" caller= called=0612345678"_s;

INSTANTIATE_TEST_SUITE_P(
    Rows, ModemManagerCalls,
    ::testing::Values(
        CallRow{"IncomingAnsweredAndHungUp", Incoming, RingingIn, {{Active, 3}, {Terminated, 4}},
                {{CS::Offering, 1}, {CS::Connected, 1}, {CS::Disconnected, DM::Normal}, {CS::Idle, 0}},
                {u"Connected 0612345678"_s + In, u"Disconnected 0612345678"_s + In,
                 u"Disconnected 0612345678"_s + In}},
        CallRow{"IncomingWhoseNumberComesLate", Incoming, RingingIn,
                {{-2, 0}, {Active, 3}, {Terminated, 4}},
                {{CS::Offering, 1}, {CS::Connected, 1}, {CS::Disconnected, DM::Normal}, {CS::Idle, 0}},
                {u"Info 0612345678"_s + In, u"Connected 0612345678"_s + In,
                 u"Disconnected 0612345678"_s + In, u"Disconnected 0612345678"_s + In}},
        CallRow{"OutgoingDialledRungAnsweredAndHungUp", Outgoing, Unknown,
                {{Dialing, 1}, {RingingOut, 1}, {Active, 3}, {Terminated, 4}},
                {{CS::Unknown, 0}, {CS::Dialing, 0}, {CS::RingBack, 0}, {CS::Connected, 1},
                 {CS::Disconnected, DM::Normal}, {CS::Idle, 0}},
                {u"Dialing 0612345678"_s + Out, u"Connected 0612345678"_s + Out,
                 u"Disconnected 0612345678"_s + Out, u"Disconnected 0612345678"_s + Out}},
        CallRow{"OutgoingBusy", Outgoing, Dialing, {{Terminated, 5}},
                {{CS::Dialing, 0}, {CS::Disconnected, DM::Busy}, {CS::Idle, 0}},
                {u"Dialing 0612345678"_s + Out, u"Disconnected 0612345678"_s + Out,
                 u"Disconnected 0612345678"_s + Out}},
        // A modem that shows the call only once answered, and drops it without ending it.
        CallRow{"OutgoingFirstSeenAnsweredThenRemoved", Outgoing, Active, {{-1, 0}},
                {{CS::Dialing, 0}, {CS::Connected, 1}, {CS::Disconnected, DM::Unknown}, {CS::Idle, 0}},
                {u"Dialing 0612345678"_s + Out, u"Connected 0612345678"_s + Out,
                 u"Disconnected 0612345678"_s + Out, u"Disconnected 0612345678"_s + Out}}),
    [](const ::testing::TestParamInfo<CallRow>& row) { return std::string(row.param.name); });

TEST_F(ModemManagerLineTest, CallsOfAnotherModemOrAfterClosingAreNotSent)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    const QString watched = addModem(u"Quectel"_s, u"EC25"_s, u"ttyUSB2"_s, true);
    const QString other = addModem(u"Huawei"_s, u"E3372"_s, u"ttyUSB9"_s, true);
    ModemManagerLine line(bus.connection(), 3'000);
    int messages = 0;
    ASSERT_EQ(line.initialize(u"Vestrel"_s, [&](LineCallHandle, qint32, qint64, qint64, qint64) {
                  ++messages;
              }).value,
              2);
    const LineResult<LineHandle> open = line.openMonitor(0);
    ASSERT_TRUE(open.ok());
    mock(u"AddCall"_s, {path(other), u"02"_s, Incoming, RingingIn});
    mock(u"AddCall"_s, {path(watched), u"03"_s, Incoming, RingingIn});
    ASSERT_TRUE(waitFor([&] { return messages == 1; }));
    ASSERT_EQ(line.close(open.value), LineOk);
    EXPECT_EQ(line.close(open.value), LineErrInvalLineHandle);
    mock(u"AddCall"_s, {path(watched), u"04"_s, Incoming, RingingIn});
    EXPECT_FALSE(waitFor([&] { return messages > 1; }, 500));
    EXPECT_EQ(line.shutdown(), LineOk);
    EXPECT_EQ(line.openMonitor(0).code, LineErrUninitialized);
}

TEST_F(ModemManagerLineTest, WithoutTheServiceThereIsNoDeviceAndStartUpSaysNothing)
{
    ModemManagerLine line(bus.connection(), 3'000);
    TTapiControl tapi(line);
    RecordingNotices notices;
    TSettings settings;
    QElapsedTimer took;
    took.start();
    StartTapiMonitor(tapi, settings, false);
    EXPECT_LT(took.elapsed(), 2'000) << "an absent service answers at once";
    EXPECT_EQ(settings.DeviceName(), u"(Nessuno)"_s);
    EXPECT_TRUE(notices.shown.empty());
    EXPECT_EQ(tapi.DeviceCount(), 0);
    EXPECT_FALSE(tapi.MonitoredDevice());

    const QByteArray saved = qgetenv("VESTREL_LINE");
    qunsetenv("VESTREL_LINE");
    const std::unique_ptr<LineService> chosen = CreateDefaultLineService(bus.connection());
    qputenv("VESTREL_LINE", saved);
    EXPECT_NE(dynamic_cast<NoLine*>(chosen.get()), nullptr);
}

TEST_F(ModemManagerLineTest, AServiceThatFailsEndsInNoDeviceOrAClearMessage)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    struct Row {
        const char* what;
        const char* python;
        const char* notice;
    };
    const Row rows[] = {
        // Installed but not enabled: nothing to start, as if it were not there.
        {"not startable",
         "raise dbus.exceptions.DBusException('Unit not found', "
         "name='org.freedesktop.systemd1.NoSuchUnit')",
         "Impossibile monitorare il modem Quectel EC25\r[Non sono configurati dispositivi TAPI]"},
        {"failed to start",
         "raise dbus.exceptions.DBusException('exited', "
         "name='org.freedesktop.DBus.Error.Spawn.ChildExited')",
         "Impossibile monitorare il modem Quectel EC25\r[Non sono configurati dispositivi TAPI]"},
        // Last: the mock is still busy with it when the test ends.
        {"no answer", "import time; time.sleep(2)",
         "Impossibile monitorare il modem Quectel EC25\r[Fallita la lineInitialize: The operation "
         "failed for an unspecified reason. (ModemManager: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(bus.replaceMethod(Mm, MmPath, u"org.freedesktop.DBus.ObjectManager"_s,
                                      u"GetManagedObjects"_s, {}, QString::fromUtf8(row.python)))
            << bus.error().toStdString();
        ModemManagerLine line(bus.connection(), 500);
        TTapiControl tapi(line);
        RecordingNotices notices;
        TSettings settings;
        settings.SetDeviceName(u"Quectel EC25"_s);
        QElapsedTimer took;
        took.start();
        StartTapiMonitor(tapi, settings, false);
        EXPECT_LT(took.elapsed(), 1'500);
        EXPECT_EQ(settings.DeviceName(), u"(Nessuno)"_s);
        ASSERT_EQ(notices.shown.size(), 1u);
        EXPECT_TRUE(notices.shown[0].text.startsWith(QString::fromUtf8(row.notice)))
            << notices.shown[0].text.toStdString();
    }
}

TEST_F(ModemManagerLineTest, DefaultChoiceFollowsTheOverrideAndTheBus)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    struct Case {
        const char* forced;
        bool modemManager;
        bool none;
    };
    const Case cases[] = {{"", true, false}, {"modemmanager", true, false}, {"none", false, true},
                          {"simulated", false, false}, {"altro", true, false}};
    const QByteArray saved = qgetenv("VESTREL_LINE");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.forced);
        qputenv("VESTREL_LINE", c.forced);
        const std::unique_ptr<LineService> service = CreateDefaultLineService(bus.connection());
        EXPECT_EQ(dynamic_cast<ModemManagerLine*>(service.get()) != nullptr, c.modemManager);
        EXPECT_EQ(dynamic_cast<NoLine*>(service.get()) != nullptr, c.none);
        EXPECT_EQ(dynamic_cast<SimulatedLine*>(service.get()) != nullptr,
                  !c.modemManager && !c.none);
    }
    qputenv("VESTREL_LINE", saved);
}

} // namespace
