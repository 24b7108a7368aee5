// `vestrel-cli watch` on the real clock, with python3-dbusmock's networkmanager template on a
// private bus as the program's system bus and a folder laid out like /sys/class/net as the
// source of the traffic counters.
#include "platform/PrivateBus.h"

#include "common/Dates.h"
#include "log/DataUnits.h"
#include "support/QStringPrinter.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Nm = u"org.freedesktop.NetworkManager"_s;
const QString MockIface = u"org.freedesktop.DBus.Mock"_s;
const QString ActiveIface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
const QString Modem = u"/org/freedesktop/NetworkManager/Devices/Modem0"_s;
const QString Ip4Config = u"/org/freedesktop/NetworkManager/IP4Config/7"_s;
const QString Active = u"/org/freedesktop/NetworkManager/ActiveConnection/Gsm"_s;
const QString DeviceIface = u"org.freedesktop.NetworkManager.Device"_s;
// Longer than two of the program's one-second dial-up polls.
constexpr int SeenMs = 2'500;

class WatchNetworkManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString missing = PrivateBus::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "no D-Bus mock: " << missing.toStdString();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(net.isValid());
        // The modem's data interface, and another dial-up interface listed before it.
        ASSERT_NO_FATAL_FAILURE(writeInterface(u"ppp0"_s, {{u"type"_s, "512"}, {u"ifindex"_s, "3"}}));
        ASSERT_NO_FATAL_FAILURE(setCounters(u"ppp0"_s, 777, 888));
        ASSERT_NO_FATAL_FAILURE(writeInterface(
            u"wwan0"_s, {{u"type"_s, "65534"}, {u"ifindex"_s, "5"}, {u"uevent"_s, "DEVTYPE=wwan\n"}}));
        ASSERT_NO_FATAL_FAILURE(setCounters(u"wwan0"_s, 1'000, 5'000));
        qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        ASSERT_TRUE(bus.startTemplate(u"networkmanager"_s, Nm)) << bus.error().toStdString();
        QDBusMessage device = mock(u"AddEthernetDevice"_s);
        device << u"Modem0"_s << u"ttyUSB0"_s << 30;
        ASSERT_EQ(send(device).type(), QDBusMessage::ReplyMessage);
        // A modem's own interface is its control port; the data run over its IP interface.
        ASSERT_NO_FATAL_FAILURE(setProperty(Modem, DeviceIface, u"IpInterface"_s, u"wwan0"_s));
        QDBusMessage add = QDBusMessage::createMethodCall(
            Nm, u"/org/freedesktop/NetworkManager/Settings"_s,
            u"org.freedesktop.NetworkManager.Settings"_s, u"AddConnection"_s);
        add << QVariant::fromValue(QMap<QString, QVariantMap>{
            {u"connection"_s, {{u"id"_s, u"Mobile Casa"_s}, {u"type"_s, u"gsm"_s}}},
            {u"gsm"_s, {{u"number"_s, u"*99#"_s}, {u"apn"_s, u"web"_s}}}});
        const QDBusMessage added = send(add);
        ASSERT_EQ(added.type(), QDBusMessage::ReplyMessage) << added.errorMessage().toStdString();
        profile = added.arguments().constFirst().value<QDBusObjectPath>().path();
        // The address the activation will carry.
        ASSERT_TRUE(bus.replaceMethod(
            Nm, u"/org/freedesktop"_s, u"org.vestrel.Test"_s, u"AddIp"_s, {},
            u"self.AddObject('"_s + Ip4Config +
                u"', 'org.freedesktop.NetworkManager.IP4Config', {'AddressData': dbus.Array("
                u"[{'address': '10.64.1.7', 'prefix': dbus.UInt32(32)}], signature='a{sv}')}, [])"_s))
            << bus.error().toStdString();
        ASSERT_EQ(send(QDBusMessage::createMethodCall(Nm, u"/org/freedesktop"_s,
                                                      u"org.vestrel.Test"_s, u"AddIp"_s))
                      .type(),
                  QDBusMessage::ReplyMessage);
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(3'000);
        }
    }

    static QDBusMessage mock(const QString& method)
    {
        return QDBusMessage::createMethodCall(Nm, u"/org/freedesktop"_s, MockIface, method);
    }
    QDBusMessage send(const QDBusMessage& message)
    {
        return bus.connection().call(message, QDBus::Block, 5'000);
    }
    qsizetype clientsOnTheBus()
    {
        return bus.connection().interface()->registeredServiceNames().value().size();
    }

    // The program on the mocked system bus, once it has connected to it.
    void startProgram()
    {
        const qsizetype before = clientsOnTheBus();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, bus.address());
        env.insert(u"VESTREL_DIALUP"_s, u"networkmanager"_s);
        env.insert(u"VESTREL_SYSFS_NET"_s, net.path());
        env.remove(u"VESTREL_TRAFFIC"_s);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VESTREL_CLI_PATH),
                      {u"--data-dir"_s, dir.path(), u"watch"_s});
        ASSERT_TRUE(program.waitForStarted(5'000));
        const QDeadlineTimer deadline(5'000);
        while (clientsOnTheBus() == before && !deadline.hasExpired()
               && program.state() == QProcess::Running)
            QThread::msleep(50);
        ASSERT_GT(clientsOnTheBus(), before) << "the program did not connect to the bus";
    }

    // Reads the program's output until `text` appears, for at most `ms`.
    bool waitForOutput(const QString& text, int ms)
    {
        const QDeadlineTimer deadline(ms);
        while (!out.contains(text) && !deadline.hasExpired()
               && program.state() == QProcess::Running) {
            program.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1)));
            out += QString::fromUtf8(program.readAllStandardOutput());
        }
        return out.contains(text);
    }

    void setProperty(const QString& path, const QString& iface, const QString& name,
                     const QVariant& value)
    {
        QDBusMessage set = mock(u"SetProperty"_s);
        set << path << iface << name << QVariant::fromValue(QDBusVariant(value));
        const QDBusMessage reply = send(set);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    void setActiveState(uint state) { setProperty(Active, ActiveIface, u"State"_s, state); }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    void writeInterface(const QString& name, const std::vector<std::pair<QString, QByteArray>>& files)
    {
        ASSERT_TRUE(QDir(net.path()).mkpath(name + u"/statistics"_s));
        for (const auto& file : files)
            ASSERT_NO_FATAL_FAILURE(writeFile(net.filePath(name + u'/' + file.first), file.second));
    }
    void setCounters(const QString& name, quint64 sent, quint64 received)
    {
        const QString stats = net.filePath(name + u"/statistics/"_s);
        ASSERT_NO_FATAL_FAILURE(writeFile(stats + u"tx_bytes"_s, QByteArray::number(sent) + '\n'));
        ASSERT_NO_FATAL_FAILURE(writeFile(stats + u"rx_bytes"_s, QByteArray::number(received) + '\n'));
    }

    QTemporaryDir dir;
    QTemporaryDir net;
    PrivateBus bus;
    QProcess program;
    QString profile;
    QString out;
};

} // namespace

TEST_F(WatchNetworkManager, LogsAnActivationOfTheGsmProfileWithTheBytesOfItsInterface)
{
    ASSERT_NO_FATAL_FAILURE(startProgram());
    QThread::msleep(SeenMs);

    // The mock activates the profile on the modem, gives it its address, then takes it down.
    QDBusMessage activate = mock(u"AddActiveConnection"_s);
    activate << QStringList{Modem} << profile << u"/"_s << u"Gsm"_s << 1u;
    const QDBusMessage activated = send(activate);
    ASSERT_EQ(activated.type(), QDBusMessage::ReplyMessage) << activated.errorMessage().toStdString();
    QDBusMessage addIp = QDBusMessage::createMethodCall(Nm, Active, MockIface, u"AddProperty"_s);
    addIp << ActiveIface << u"Ip4Config"_s
          << QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusObjectPath(Ip4Config))));
    ASSERT_EQ(send(addIp).type(), QDBusMessage::ReplyMessage);
    QThread::msleep(SeenMs);
    ASSERT_NO_FATAL_FAILURE(setActiveState(2u));
    QThread::msleep(SeenMs);
    // Traffic while online; the decoy's counters move too.
    ASSERT_NO_FATAL_FAILURE(setCounters(u"wwan0"_s, 1'500, 9'000));
    ASSERT_NO_FATAL_FAILURE(setCounters(u"ppp0"_s, 7'777, 8'888));
    QThread::msleep(1'500);
    QDBusMessage remove = mock(u"RemoveActiveConnection"_s);
    remove << Modem << Active;
    ASSERT_EQ(send(remove).type(), QDBusMessage::ReplyMessage);

    ASSERT_TRUE(waitForOutput(u"Connessione registrata: Mobile Casa"_s, 5'000))
        << out.toStdString() << program.readAllStandardError().toStdString();
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5'000)) << "the program did not end on SIGTERM";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(out.count(u"Connessione registrata:"_s), 1) << out.toStdString();

    TDataUnits log;
    log.SetFileName(dir.filePath(u"Connections.dat"_s));
    ASSERT_EQ(log.Units().Count(), 1);
    const auto* record = log.Units()[0];
    EXPECT_EQ(record->N(), u"Mobile Casa"_s);
    EXPECT_EQ(record->Z(), u"10.64.1.7"_s);
    // From the first sight of the activation to its end: about two polls connected.
    const qint64 seconds = SecondsOf(record->F() - record->I());
    EXPECT_GE(seconds, 1);
    EXPECT_LE(seconds, 10);
    EXPECT_GT(record->L(), 0.0) << "the duration is costed";
    // The counters of the profile's interface since it was created.
    EXPECT_EQ(record->T(), 1'500u);
    EXPECT_EQ(record->R(), 9'000u);
}
