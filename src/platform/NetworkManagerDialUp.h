#pragma once

#include "DialUpService.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QMap>
#include <QObject>
#include <QRecursiveMutex>

#include <memory>

namespace vestrel {
class Timer;
}

namespace vestrel::platform {

// The dial-up code for a failed NetworkManager activation: the device's state reason when it
// names the cause, else the active connection's state reason (see the table in the source).
DialUpCode NetworkManagerFailureCode(quint32 deviceReason, quint32 activeReason);
// The dial-up code for an error answer of NetworkManager (by D-Bus error name).
DialUpCode NetworkManagerErrorCode(const QString& dbusErrorName);

// Dial-up through NetworkManager over D-Bus. The entries are the connection profiles of the
// dial-up kinds (gsm, cdma, pppoe, bluetooth DUN), named by their id; the connections are the
// active connections of those profiles. Dialling activates the profile and follows its state on
// the Clock; hanging up deactivates it. Every call is bounded by `timeoutMs`.
class NetworkManagerDialUp final : public QObject, protected QDBusContext, public DialUpService {
    Q_OBJECT
public:
    explicit NetworkManagerDialUp(QDBusConnection bus = QDBusConnection::systemBus(),
                                  int timeoutMs = 5'000, int pollMs = 500);
    ~NetworkManagerDialUp() override;

    DialUpResult<QStringList> entries() override;
    DialUpResult<DialUpCredentials> entryCredentials(const QString& entry) override;
    DialUpCode setEntryCredentials(const QString& entry, const QString& userName,
                                   const QString& password, bool removePassword) override;
    DialUpResult<DialUpEntryProperties> entryProperties(const QString& entry) override;
    DialUpResult<std::vector<DialUpConnection>> connections() override;
    DialUpResult<qint32> connectionState(DialUpHandle handle) override;
    DialUpResult<QString> ipAddress(DialUpHandle handle) override;
    DialUpResult<QString> interfaceName(DialUpHandle handle) override;
    DialUpResult<DialUpHandle> dial(const QString& entry, const QString& userName,
                                    const QString& password, DialUpProgress progress) override;
    DialUpCode hangUp(DialUpHandle handle) override;

private Q_SLOTS:
    void onActiveStateChanged(uint state, uint reason);
    void onDeviceStateChanged(uint newState, uint oldState, uint reason);

private:
    struct Profile {
        QString path;
        QString id;
        QVariantMap settings; // flattened "setting.key" → value
    };
    struct Dialling {
        DialUpHandle handle = 0;
        QString activePath;
        DialUpProgress progress;
        qint32 lastState = -1;
    };

    DialUpResult<std::vector<Profile>> profiles();
    DialUpResult<Profile> profile(const QString& entry);
    DialUpHandle handleOf(const QString& activePath);
    QString pathOf(DialUpHandle handle) const;
    // The active connection's properties; code DialUpInvalidHandle when it is gone.
    DialUpResult<QVariantMap> activeProperties(const QString& activePath);
    void watch(const QString& activePath, const QVariantMap& properties);
    void poll();

    QDBusConnection m_bus;
    int m_timeoutMs;
    mutable QRecursiveMutex m_mutex;
    QMap<QString, DialUpHandle> m_handles;
    DialUpHandle m_nextHandle = 1;
    // The last failure reasons seen for each active connection and device.
    QMap<QString, quint32> m_activeReasons;
    QMap<QString, quint32> m_deviceReasons;
    QMap<QString, QStringList> m_devicesOf;
    std::vector<Dialling> m_dialling;
    std::unique_ptr<Timer> m_poll;
};

// The backend of a machine without dial-up support: no entries, every call DialUpUnavailable.
class NoDialUp final : public DialUpService {
public:
    DialUpResult<QStringList> entries() override { return {DialUpUnavailable, {}}; }
    DialUpResult<DialUpCredentials> entryCredentials(const QString&) override
    {
        return {DialUpUnavailable, {}};
    }
    DialUpCode setEntryCredentials(const QString&, const QString&, const QString&, bool) override
    {
        return DialUpUnavailable;
    }
    bool available() const override { return false; }
};

// The backend VESTREL_DIALUP names (simulated, networkmanager, pppd, none), else NetworkManager
// when it answers on `bus`, else pppd when /etc/ppp/peers exists, else NoDialUp.
std::unique_ptr<DialUpService> CreateDefaultDialUpService(const QDBusConnection& bus);

} // namespace vestrel::platform
