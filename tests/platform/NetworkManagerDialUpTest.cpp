// The NetworkManager dial-up backend against python3-dbusmock's networkmanager template on a
// private bus.
#include "PrivateBus.h"

#include "common/VirtualClock.h"
#include "platform/NetworkManagerDialUp.h"
#include "support/QStringPrinter.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Nm = u"org.freedesktop.NetworkManager"_s;
const QString MockIface = u"org.freedesktop.DBus.Mock"_s;
const QString ActiveIface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
constexpr int PollMs = 200;

struct Progress {
    DialUpHandle handle = 0;
    qint32 state = 0;
    DialUpCode error = DialUpOk;
};

class NetworkManagerDialUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString missing = PrivateBus::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "no D-Bus mock: " << missing.toStdString();
        qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        ASSERT_TRUE(bus.startTemplate(u"networkmanager"_s, Nm)) << bus.error().toStdString();
        // A modem; deactivation goes through the devices.
        QDBusMessage device = call(u"/org/freedesktop"_s, MockIface, u"AddEthernetDevice"_s);
        device << u"Modem0"_s << u"ttyUSB0"_s << 30;
        ASSERT_EQ(send(device).type(), QDBusMessage::ReplyMessage);
        devicePath = u"/org/freedesktop/NetworkManager/Devices/Modem0"_s;
        gsmProfile = addProfile({{u"connection"_s, {{u"id"_s, u"Mobile Casa"_s}, {u"type"_s, u"gsm"_s}}},
                                 {u"gsm"_s, {{u"number"_s, u"*99#"_s}, {u"apn"_s, u"web"_s}}}});
        addProfile({{u"connection"_s, {{u"id"_s, u"Ufficio LAN"_s}, {u"type"_s, u"802-3-ethernet"_s}}}});
        addProfile({{u"connection"_s, {{u"id"_s, u"ADSL"_s}, {u"type"_s, u"pppoe"_s}}},
                    {u"pppoe"_s, {{u"service"_s, u"isp-nord"_s}}}});
        addProfile({{u"connection"_s, {{u"id"_s, u"Telefono BT"_s}, {u"type"_s, u"bluetooth"_s}}},
                    {u"bluetooth"_s, {{u"type"_s, u"panu"_s}}}});
    }

    static QDBusMessage call(const QString& path, const QString& iface, const QString& method)
    {
        return QDBusMessage::createMethodCall(Nm, path, iface, method);
    }
    QDBusMessage send(const QDBusMessage& message)
    {
        return bus.connection().call(message, QDBus::Block, 5'000);
    }

    QString addProfile(const QMap<QString, QVariantMap>& settings)
    {
        QDBusMessage add = call(u"/org/freedesktop/NetworkManager/Settings"_s,
                                u"org.freedesktop.NetworkManager.Settings"_s, u"AddConnection"_s);
        add << QVariant::fromValue(settings);
        const QDBusMessage reply = send(add);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().isEmpty()
                   ? QString()
                   : reply.arguments().constFirst().value<QDBusObjectPath>().path();
    }

    // Changes a property of a mocked object, with the change signal.
    void setProperty(const QString& path, const QString& iface, const QString& name,
                     const QVariant& value)
    {
        QDBusMessage set = call(u"/org/freedesktop"_s, MockIface, u"SetProperty"_s);
        set << path << iface << name << QVariant::fromValue(QDBusVariant(value));
        const QDBusMessage reply = send(set);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    void emitSignal(const QString& path, const QString& iface, const QString& name,
                    const QString& signature, const QVariantList& args)
    {
        QDBusMessage emitIt = call(path, MockIface, u"EmitSignal"_s);
        QVariantList wrapped;
        for (const QVariant& arg : args)
            wrapped << QVariant::fromValue(QDBusVariant(arg));
        emitIt << iface << name << signature << QVariant::fromValue(wrapped);
        const QDBusMessage reply = send(emitIt);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    // Lets the backend poll until `count` progress reports have come, for at most three seconds.
    void runUntil(size_t count)
    {
        const QDeadlineTimer deadline(3'000);
        while (progress.size() < count && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            clock.advance(PollMs);
        }
    }

    DialUpProgress recorder()
    {
        return [this](DialUpHandle h, qint32 state, DialUpCode error) {
            progress.push_back({h, state, error});
        };
    }

    PrivateBus bus;
    VirtualClock clock;
    QString devicePath;
    QString gsmProfile;
    std::vector<Progress> progress;
};

TEST_F(NetworkManagerDialUpTest, ListsDialUpProfilesWithTheirNumbers)
{
    NetworkManagerDialUp dialUp(bus.connection(), 5'000, PollMs);
    const DialUpResult<QStringList> entries = dialUp.entries();
    ASSERT_TRUE(entries.ok()) << entries.code;
    // Ethernet and a bluetooth PAN profile are not dial-up.
    EXPECT_EQ(entries.value, (QStringList{u"Mobile Casa"_s, u"ADSL"_s}));
    EXPECT_EQ(dialUp.entryProperties(u"Mobile Casa"_s).value.localPhoneNumber, u"*99#"_s);
    EXPECT_EQ(dialUp.entryProperties(u"ADSL"_s).value.localPhoneNumber, u"isp-nord"_s);
    EXPECT_EQ(dialUp.entryProperties(u"Ufficio LAN"_s).code, DialUpNoEntry);
    EXPECT_EQ(dialUp.dial(u"Ufficio LAN"_s, {}, {}, recorder()).code, DialUpNoEntry);
}

TEST_F(NetworkManagerDialUpTest, DialFollowsTheActivationToConnectedAndHangUpEndsIt)
{
    NetworkManagerDialUp dialUp(bus.connection(), 5'000, PollMs);
    const DialUpResult<DialUpHandle> dialled = dialUp.dial(u"Mobile Casa"_s, {}, {}, recorder());
    ASSERT_TRUE(dialled.ok()) << dialled.code;
    EXPECT_TRUE(progress.empty()) << "progress never arrives from inside dial()";
    const QString active = u"/org/freedesktop/NetworkManager/ActiveConnection/0"_s;

    setProperty(active, ActiveIface, u"State"_s, 1u); // activating
    runUntil(1);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].state, DialUpState::ConnectingDevice);
    EXPECT_EQ(progress[0].handle, dialled.value);
    EXPECT_EQ(dialUp.connectionState(dialled.value).value, DialUpState::ConnectingDevice);

    // The address arrives with the activation.
    ASSERT_TRUE(bus.replaceMethod(
        Nm, u"/org/freedesktop"_s, u"org.vestrel.Test"_s, u"AddIp"_s, {},
        u"self.AddObject('/org/freedesktop/NetworkManager/IP4Config/7', "
        u"'org.freedesktop.NetworkManager.IP4Config', {'AddressData': dbus.Array("
        u"[{'address': '10.64.1.7', 'prefix': dbus.UInt32(32)}], signature='a{sv}')}, [])"_s))
        << bus.error().toStdString();
    ASSERT_EQ(send(call(u"/org/freedesktop"_s, u"org.vestrel.Test"_s, u"AddIp"_s)).type(),
              QDBusMessage::ReplyMessage);
    QDBusMessage addIp = call(active, MockIface, u"AddProperty"_s);
    addIp << ActiveIface << u"Ip4Config"_s
          << QVariant::fromValue(QDBusVariant(QVariant::fromValue(
                 QDBusObjectPath(u"/org/freedesktop/NetworkManager/IP4Config/7"_s))));
    ASSERT_EQ(send(addIp).type(), QDBusMessage::ReplyMessage);
    setProperty(active, ActiveIface, u"State"_s, 2u);
    runUntil(2);
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress[1].state, DialUpState::Connected);
    EXPECT_EQ(progress[1].error, DialUpOk);
    EXPECT_EQ(dialUp.ipAddress(dialled.value).value, u"10.64.1.7"_s);

    const auto connections = dialUp.connections();
    ASSERT_TRUE(connections.ok());
    ASSERT_EQ(connections.value.size(), 1u);
    EXPECT_EQ(connections.value[0].handle, dialled.value);
    EXPECT_EQ(connections.value[0].entry, u"Mobile Casa"_s);

    EXPECT_EQ(dialUp.hangUp(dialled.value), DialUpOk);
    EXPECT_TRUE(dialUp.connections().value.empty());
    EXPECT_EQ(dialUp.connectionState(dialled.value).code, DialUpInvalidHandle);
    EXPECT_EQ(dialUp.hangUp(dialled.value), DialUpNoConnection);
    runUntil(3);
    EXPECT_EQ(progress.size(), 2u) << "no progress after a hang-up";
}

TEST_F(NetworkManagerDialUpTest, TheConnectionsInterfaceIsItsDevicesIpInterface)
{
    NetworkManagerDialUp dialUp(bus.connection(), 5'000, PollMs);
    const DialUpResult<DialUpHandle> dialled = dialUp.dial(u"Mobile Casa"_s, {}, {}, recorder());
    ASSERT_TRUE(dialled.ok()) << dialled.code;
    const QString active = u"/org/freedesktop/NetworkManager/ActiveConnection/0"_s;
    setProperty(active, ActiveIface, u"Devices"_s,
                QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(devicePath)}));
    // The device's own interface is the modem's control port, whose traffic is not the link's.
    const DialUpResult<QString> before = dialUp.interfaceName(dialled.value);
    ASSERT_TRUE(before.ok()) << before.code;
    EXPECT_EQ(before.value, QString());
    setProperty(devicePath, u"org.freedesktop.NetworkManager.Device"_s, u"IpInterface"_s,
                u"wwan0"_s);
    EXPECT_EQ(dialUp.interfaceName(dialled.value).value, u"wwan0"_s);
    ASSERT_EQ(dialUp.hangUp(dialled.value), DialUpOk);
    EXPECT_EQ(dialUp.interfaceName(dialled.value).code, DialUpInvalidHandle);
}

TEST_F(NetworkManagerDialUpTest, FailedActivationGivesTheMappedCode)
{
    struct Case {
        const char* what;
        bool fromDevice;
        quint32 reason;
        DialUpCode expected;
    };
    const Case cases[] = {
        {"modem busy", true, 23, DialUpLineBusy},
        {"dial timeout", true, 26, DialUpNoAnswer},
        {"login failed", false, 10, DialUpAuthenticationFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        progress.clear();
        NetworkManagerDialUp dialUp(bus.connection(), 5'000, PollMs);
        const DialUpResult<DialUpHandle> dialled = dialUp.dial(u"Mobile Casa"_s, {}, {}, recorder());
        ASSERT_TRUE(dialled.ok()) << dialled.code;
        const QString active = dialUp.connections().value.empty()
                                   ? QString()
                                   : u"/org/freedesktop/NetworkManager/ActiveConnection/0"_s;
        ASSERT_FALSE(active.isEmpty());
        // The activation runs on the modem, so the backend knows which device to listen to.
        setProperty(active, ActiveIface, u"Devices"_s,
                    QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(devicePath)}));
        setProperty(active, ActiveIface, u"State"_s, 1u);
        runUntil(1);
        if (c.fromDevice)
            emitSignal(devicePath, u"org.freedesktop.NetworkManager.Device"_s, u"StateChanged"_s,
                       u"uuu"_s, {120u, 40u, c.reason});
        emitSignal(active, ActiveIface, u"StateChanged"_s, u"uu"_s,
                   {4u, c.fromDevice ? 3u : c.reason});
        setProperty(active, ActiveIface, u"State"_s, 4u);
        runUntil(2);
        ASSERT_EQ(progress.size(), 2u);
        EXPECT_EQ(progress[1].handle, dialled.value);
        EXPECT_EQ(progress[1].state, DialUpState::ConnectingDevice) << "the state reached";
        EXPECT_EQ(progress[1].error, c.expected);
        EXPECT_FALSE(dialUp.errorText(c.expected).isEmpty());
        ASSERT_EQ(dialUp.hangUp(dialled.value), DialUpOk);
    }
}

TEST_F(NetworkManagerDialUpTest, RefusedActivationAnswersWithTheMappedCode)
{
    ASSERT_TRUE(bus.replaceMethod(
        Nm, u"/org/freedesktop/NetworkManager"_s, u"org.freedesktop.NetworkManager"_s,
        u"ActivateConnection"_s, u"ooo"_s,
        u"raise dbus.exceptions.DBusException('nessun modem', "
        u"name='org.freedesktop.NetworkManager.UnknownDevice')"_s))
        << bus.error().toStdString();
    NetworkManagerDialUp dialUp(bus.connection(), 5'000, PollMs);
    EXPECT_EQ(dialUp.dial(u"Mobile Casa"_s, {}, {}, recorder()).code, 633);
}

TEST_F(NetworkManagerDialUpTest, DefaultChoiceFollowsTheOverrideAndTheBus)
{
    struct Case {
        const char* forced;
        bool networkManager;
        bool none;
    };
    const Case cases[] = {{"", true, false}, {"networkmanager", true, false},
                          {"none", false, true}, {"simulated", false, false}};
    const QByteArray saved = qgetenv("VESTREL_DIALUP");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.forced);
        qputenv("VESTREL_DIALUP", c.forced);
        const std::unique_ptr<DialUpService> service = CreateDefaultDialUpService(bus.connection());
        EXPECT_EQ(dynamic_cast<NetworkManagerDialUp*>(service.get()) != nullptr, c.networkManager);
        EXPECT_EQ(dynamic_cast<NoDialUp*>(service.get()) != nullptr, c.none);
    }
    qputenv("VESTREL_DIALUP", saved);
}

TEST(NoDialUpService, AnswersUnavailableWhenNothingOwnsTheName)
{
    PrivateBus bus;
    if (!PrivateBus::missingTools().isEmpty())
        GTEST_SKIP();
    ASSERT_TRUE(bus.start()) << bus.error().toStdString();
    const QByteArray saved = qgetenv("VESTREL_DIALUP");
    qunsetenv("VESTREL_DIALUP");
    const std::unique_ptr<DialUpService> service = CreateDefaultDialUpService(bus.connection());
    qputenv("VESTREL_DIALUP", saved);
    ASSERT_NE(dynamic_cast<NoDialUp*>(service.get()), nullptr);
    EXPECT_EQ(service->entries().code, DialUpUnavailable);
    EXPECT_EQ(service->dial(u"Casa"_s, {}, {}, {}).code, DialUpUnavailable);
    EXPECT_EQ(service->errorText(DialUpUnavailable),
              u"Il servizio di accesso remoto non è disponibile"_s);
    // A backend chosen earlier meets a vanished service the same way.
    EXPECT_EQ(NetworkManagerDialUp(bus.connection(), 5'000).entries().code, DialUpUnavailable);
}

} // namespace
