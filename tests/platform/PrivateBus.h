#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

namespace vestrel::testing {

// A private D-Bus daemon started for one test, with python3-dbusmock templates on it standing in
// for system services. Every wait is bounded by a few seconds.
class PrivateBus {
public:
    struct Call {
        QString method;
        QVariantList args;
    };

    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Why the mock cannot run on this machine (dbus-daemon or the python module is missing), or
    // empty when it can.
    static QString missingTools();

    // Starts the daemon and connects to it; false (with `error()`) when it does not come up.
    bool start();
    // Starts `python3 -m dbusmock --template name` on the bus, as if it were the system bus, and
    // waits until it owns `busName`.
    bool startTemplate(const QString& templateName, const QString& busName);
    // Replaces a method of the mocked object by one that runs `python` (dbusmock's AddMethod).
    bool replaceMethod(const QString& busName, const QString& path, const QString& interface,
                       const QString& method, const QString& inSignature, const QString& python);
    // The calls the mocked object has received, oldest first (dbusmock's GetCalls).
    std::vector<Call> calls(const QString& busName, const QString& path);

    QDBusConnection connection() const;
    // The bus's address, for a program run as a child process to use as its system bus.
    const QString& address() const { return m_address; }
    const QString& error() const { return m_error; }

private:
    QString m_address;
    QString m_connectionName;
    QString m_error;
    std::unique_ptr<QProcess> m_daemon;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
};

} // namespace vestrel::testing
