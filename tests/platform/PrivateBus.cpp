#include "PrivateBus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

namespace {

// Debian's own interpreter: the module is installed for it, not for any other python3 on PATH.
const QString Python = u"/usr/bin/python3"_s;
constexpr int StartTimeoutMs = 10'000;
constexpr int CallTimeoutMs = 5'000;

const QString MockInterface = u"org.freedesktop.DBus.Mock"_s;

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3'000)) {
        process.kill();
        process.waitForFinished(3'000);
    }
}

} // namespace

PrivateBus::PrivateBus()
    : m_connectionName(u"vestrel-test-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

PrivateBus::~PrivateBus()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
    for (auto& mock : m_mocks)
        stop(*mock);
    if (m_daemon)
        stop(*m_daemon);
}

QString PrivateBus::missingTools()
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
        return u"dbus-daemon is not installed (Debian package dbus)"_s;
    if (!QFileInfo(Python).isExecutable())
        return Python + u" is missing"_s;
    QProcess probe;
    probe.start(Python, {u"-c"_s, u"import dbusmock"_s});
    if (!probe.waitForFinished(StartTimeoutMs) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0) {
        probe.kill();
        probe.waitForFinished(1'000);
        return u"the python module dbusmock is missing (Debian package python3-dbusmock)"_s;
    }
    return {};
}

bool PrivateBus::start()
{
    m_daemon = std::make_unique<QProcess>();
    m_daemon->start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!m_daemon->canReadLine() && !deadline.hasExpired()
           && m_daemon->state() != QProcess::NotRunning)
        m_daemon->waitForReadyRead(int(deadline.remainingTime()));
    m_address = QString::fromUtf8(m_daemon->readLine()).trimmed();
    if (m_address.isEmpty()) {
        m_error = u"dbus-daemon printed no address: "_s
                  + QString::fromUtf8(m_daemon->readAllStandardError());
        return false;
    }
    if (!connection().isConnected()) {
        m_error = u"cannot connect to "_s + m_address + u": "_s + connection().lastError().message();
        return false;
    }
    return true;
}

QDBusConnection PrivateBus::connection() const
{
    // Connects once; later calls return the same named connection.
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

bool PrivateBus::startTemplate(const QString& templateName, const QString& busName)
{
    auto mock = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_address);
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_address);
    mock->setProcessEnvironment(env);
    mock->setProcessChannelMode(QProcess::MergedChannels);
    mock->start(Python, {u"-m"_s, u"dbusmock"_s, u"--template"_s, templateName});
    QProcess& running = *mock;
    m_mocks.push_back(std::move(mock));

    const QDeadlineTimer deadline(StartTimeoutMs);
    QDBusConnectionInterface* bus = connection().interface();
    while (!bus->isServiceRegistered(busName).value()) {
        if (deadline.hasExpired() || running.state() == QProcess::NotRunning) {
            running.waitForFinished(100);
            m_error = u"dbusmock template "_s + templateName + u" did not come up: "_s
                      + QString::fromUtf8(running.readAll());
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool PrivateBus::replaceMethod(const QString& busName, const QString& path,
                               const QString& interface, const QString& method,
                               const QString& inSignature, const QString& python)
{
    QDBusMessage add = QDBusMessage::createMethodCall(busName, path, MockInterface, u"AddMethod"_s);
    add << interface << method << inSignature << QString() << python;
    const QDBusMessage reply = connection().call(add, QDBus::Block, CallTimeoutMs);
    m_error = reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

std::vector<PrivateBus::Call> PrivateBus::calls(const QString& busName, const QString& path)
{
    const QDBusMessage reply = connection().call(
        QDBusMessage::createMethodCall(busName, path, MockInterface, u"GetCalls"_s), QDBus::Block,
        CallTimeoutMs);
    std::vector<Call> result;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_error = reply.errorMessage();
        return result;
    }
    // a(tsav): time stamp, method name, arguments.
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Call call;
        quint64 stamp = 0;
        list.beginStructure();
        list >> stamp >> call.method;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusVariant arg;
            list >> arg;
            call.args << arg.variant();
        }
        list.endArray();
        list.endStructure();
        result.push_back(std::move(call));
    }
    list.endArray();
    return result;
}

} // namespace vestrel::testing
