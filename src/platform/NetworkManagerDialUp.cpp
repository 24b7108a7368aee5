#include "NetworkManagerDialUp.h"

#include "DBusPresence.h"
#include "PppdDialUp.h"
#include "SimulatedDialUp.h"

#include "common/Timer.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Service = u"org.freedesktop.NetworkManager"_s;
const QString ManagerPath = u"/org/freedesktop/NetworkManager"_s;
const QString ManagerIface = u"org.freedesktop.NetworkManager"_s;
const QString SettingsPath = u"/org/freedesktop/NetworkManager/Settings"_s;
const QString SettingsIface = u"org.freedesktop.NetworkManager.Settings"_s;
const QString ProfileIface = u"org.freedesktop.NetworkManager.Settings.Connection"_s;
const QString ActiveIface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
const QString DeviceIface = u"org.freedesktop.NetworkManager.Device"_s;
const QString Ip4Iface = u"org.freedesktop.NetworkManager.IP4Config"_s;
const QString PropertiesIface = u"org.freedesktop.DBus.Properties"_s;

// NetworkManager's activation states of an active connection.
enum : quint32 { NmActivating = 1, NmActivated = 2, NmDeactivating = 3, NmDeactivated = 4 };

qint32 stateOf(quint32 nmState)
{
    switch (nmState) {
    case NmActivated: return DialUpState::Connected;
    case NmDeactivating:
    case NmDeactivated: return DialUpState::Disconnected;
    default: return DialUpState::ConnectingDevice; // unknown (0) or activating
    }
}

// Settings of a profile, a{sa{sv}}, flattened to "setting.key".
QVariantMap flatSettings(const QVariant& reply)
{
    QVariantMap flat;
    if (!reply.canConvert<QDBusArgument>())
        return flat;
    const QDBusArgument arg = reply.value<QDBusArgument>();
    arg.beginMap();
    while (!arg.atEnd()) {
        QString setting;
        QVariantMap values;
        arg.beginMapEntry();
        arg >> setting >> values;
        arg.endMapEntry();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            flat.insert(setting + u'.' + it.key(), it.value());
    }
    arg.endMap();
    return flat;
}

QStringList objectPaths(const QVariant& value)
{
    QStringList paths;
    if (value.canConvert<QDBusArgument>()) {
        for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(value))
            paths << path.path();
    } else if (value.metaType() == QMetaType::fromType<QList<QDBusObjectPath>>()) {
        for (const QDBusObjectPath& path : value.value<QList<QDBusObjectPath>>())
            paths << path.path();
    }
    return paths;
}

QString objectPath(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

bool isDialUpKind(const QVariantMap& settings)
{
    const QString type = settings.value(u"connection.type"_s).toString();
    if (type == u"gsm"_s || type == u"cdma"_s || type == u"pppoe"_s)
        return true;
    return type == u"bluetooth"_s && settings.value(u"bluetooth.type"_s).toString() == u"dun"_s;
}

// The setting that holds a kind's login.
QString loginSetting(const QVariantMap& settings)
{
    const QString type = settings.value(u"connection.type"_s).toString();
    return type == u"bluetooth"_s ? u"gsm"_s : type;
}

} // namespace

NetworkManagerDialUp::NetworkManagerDialUp(QDBusConnection bus, int timeoutMs, int pollMs)
    : m_bus(std::move(bus)), m_timeoutMs(timeoutMs),
      m_poll(std::make_unique<Timer>(nullptr, u"NetworkManagerDialUp"_s, pollMs))
{
    connect(m_poll.get(), &Timer::timeout, this, &NetworkManagerDialUp::poll);
    m_bus.connect(Service, {}, ActiveIface, u"StateChanged"_s, this,
                  SLOT(onActiveStateChanged(uint, uint)));
    m_bus.connect(Service, {}, DeviceIface, u"StateChanged"_s, this,
                  SLOT(onDeviceStateChanged(uint, uint, uint)));
}

NetworkManagerDialUp::~NetworkManagerDialUp()
{
    m_bus.disconnect(Service, {}, ActiveIface, u"StateChanged"_s, this,
                     SLOT(onActiveStateChanged(uint, uint)));
    m_bus.disconnect(Service, {}, DeviceIface, u"StateChanged"_s, this,
                     SLOT(onDeviceStateChanged(uint, uint, uint)));
}

void NetworkManagerDialUp::onActiveStateChanged(uint state, uint reason)
{
    if (state >= NmDeactivating && reason > 1) {
        const QMutexLocker lock(&m_mutex);
        m_activeReasons.insert(message().path(), reason);
    }
}

void NetworkManagerDialUp::onDeviceStateChanged(uint, uint, uint reason)
{
    if (reason > 1) {
        const QMutexLocker lock(&m_mutex);
        m_deviceReasons.insert(message().path(), reason);
    }
}

DialUpResult<std::vector<NetworkManagerDialUp::Profile>> NetworkManagerDialUp::profiles()
{
    const QDBusMessage list = m_bus.call(
        QDBusMessage::createMethodCall(Service, SettingsPath, SettingsIface, u"ListConnections"_s),
        QDBus::Block, m_timeoutMs);
    if (list.type() != QDBusMessage::ReplyMessage || list.arguments().isEmpty())
        return {NetworkManagerErrorCode(list.errorName()), {}};
    std::vector<Profile> result;
    for (const QString& path : objectPaths(list.arguments().constFirst())) {
        const QDBusMessage reply = m_bus.call(
            QDBusMessage::createMethodCall(Service, path, ProfileIface, u"GetSettings"_s),
            QDBus::Block, m_timeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            continue; // removed meanwhile, or not ours to read
        Profile profile;
        profile.path = path;
        profile.settings = flatSettings(reply.arguments().constFirst());
        profile.id = profile.settings.value(u"connection.id"_s).toString();
        if (!profile.id.isEmpty() && isDialUpKind(profile.settings))
            result.push_back(std::move(profile));
    }
    return {DialUpOk, std::move(result)};
}

DialUpResult<NetworkManagerDialUp::Profile> NetworkManagerDialUp::profile(const QString& entry)
{
    DialUpResult<std::vector<Profile>> all = profiles();
    if (!all.ok())
        return {all.code, {}};
    for (Profile& p : all.value)
        if (p.id == entry)
            return {DialUpOk, std::move(p)};
    return {DialUpNoEntry, {}};
}

DialUpResult<QStringList> NetworkManagerDialUp::entries()
{
    const DialUpResult<std::vector<Profile>> all = profiles();
    QStringList names;
    for (const Profile& p : all.value)
        if (!names.contains(p.id))
            names << p.id;
    return {all.code, names};
}

DialUpResult<DialUpEntryProperties> NetworkManagerDialUp::entryProperties(const QString& entry)
{
    const DialUpResult<Profile> found = profile(entry);
    if (!found.ok())
        return {found.code, {}};
    DialUpEntryProperties properties;
    const QVariantMap& s = found.value.settings;
    properties.localPhoneNumber = s.contains(u"gsm.number"_s) ? s.value(u"gsm.number"_s).toString()
                                  : s.contains(u"cdma.number"_s)
                                      ? s.value(u"cdma.number"_s).toString()
                                      : s.value(u"pppoe.service"_s).toString();
    return {DialUpOk, properties};
}

DialUpResult<DialUpCredentials> NetworkManagerDialUp::entryCredentials(const QString& entry)
{
    const DialUpResult<Profile> found = profile(entry);
    if (!found.ok())
        return {found.code, {}};
    const QString setting = loginSetting(found.value.settings);
    DialUpCredentials credentials;
    credentials.userName = found.value.settings.value(setting + u".username"_s).toString();

    QDBusMessage ask =
        QDBusMessage::createMethodCall(Service, found.value.path, ProfileIface, u"GetSecrets"_s);
    ask << setting;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {DialUpUnavailable, {}}; // the user may not read this profile's secrets
    const QVariantMap secrets = flatSettings(reply.arguments().constFirst());
    const QString key = setting + u".password"_s;
    credentials.hasPassword = secrets.contains(key);
    credentials.password = secrets.value(key).toString();
    return {DialUpOk, credentials};
}

DialUpCode NetworkManagerDialUp::setEntryCredentials(const QString&, const QString&,
                                                     const QString&, bool)
{
    // System profiles are edited with the desktop's network settings, not here.
    return DialUpUnavailable;
}

DialUpHandle NetworkManagerDialUp::handleOf(const QString& activePath)
{
    const QMutexLocker lock(&m_mutex);
    auto it = m_handles.find(activePath);
    if (it == m_handles.end())
        it = m_handles.insert(activePath, m_nextHandle++);
    return it.value();
}

QString NetworkManagerDialUp::pathOf(DialUpHandle handle) const
{
    const QMutexLocker lock(&m_mutex);
    for (auto it = m_handles.cbegin(); it != m_handles.cend(); ++it)
        if (it.value() == handle)
            return it.key();
    return {};
}

DialUpResult<QVariantMap> NetworkManagerDialUp::activeProperties(const QString& activePath)
{
    QDBusMessage ask =
        QDBusMessage::createMethodCall(Service, activePath, PropertiesIface, u"GetAll"_s);
    ask << ActiveIface;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const DialUpCode code = NetworkManagerErrorCode(reply.errorName());
        // Any other error on an object path means the object is gone.
        return {code == DialUpUnavailable || code == 638 ? code : DialUpInvalidHandle, {}};
    }
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    if (properties.isEmpty())
        return {DialUpInvalidHandle, {}};
    watch(activePath, properties);
    return {DialUpOk, properties};
}

void NetworkManagerDialUp::watch(const QString& activePath, const QVariantMap& properties)
{
    const QStringList devices = objectPaths(properties.value(u"Devices"_s));
    const QMutexLocker lock(&m_mutex);
    if (!devices.isEmpty())
        m_devicesOf.insert(activePath, devices);
}

DialUpResult<std::vector<DialUpConnection>> NetworkManagerDialUp::connections()
{
    QDBusMessage ask = QDBusMessage::createMethodCall(Service, ManagerPath, PropertiesIface, u"Get"_s);
    ask << ManagerIface << u"ActiveConnections"_s;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {NetworkManagerErrorCode(reply.errorName()), {}};
    const QStringList paths =
        objectPaths(reply.arguments().constFirst().value<QDBusVariant>().variant());
    {
        // Paths may be reused once a connection is gone: forget the handles of the gone ones.
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_handles.begin(); it != m_handles.end();)
            it = paths.contains(it.key()) ? std::next(it) : m_handles.erase(it);
    }
    std::vector<DialUpConnection> result;
    for (const QString& path : paths) {
        const DialUpResult<QVariantMap> properties = activeProperties(path);
        if (!properties.ok())
            continue;
        const QString type = properties.value.value(u"Type"_s).toString();
        bool dialUp = type == u"gsm"_s || type == u"cdma"_s || type == u"pppoe"_s;
        if (type == u"bluetooth"_s) {
            const QDBusMessage settings = m_bus.call(
                QDBusMessage::createMethodCall(
                    Service, objectPath(properties.value.value(u"Connection"_s)), ProfileIface,
                    u"GetSettings"_s),
                QDBus::Block, m_timeoutMs);
            dialUp = settings.type() == QDBusMessage::ReplyMessage
                     && !settings.arguments().isEmpty()
                     && isDialUpKind(flatSettings(settings.arguments().constFirst()));
        }
        if (dialUp)
            result.push_back({handleOf(path), properties.value.value(u"Id"_s).toString()});
    }
    return {DialUpOk, std::move(result)};
}

DialUpResult<qint32> NetworkManagerDialUp::connectionState(DialUpHandle handle)
{
    const QString path = pathOf(handle);
    if (path.isEmpty())
        return {DialUpInvalidHandle, {}};
    const DialUpResult<QVariantMap> properties = activeProperties(path);
    if (!properties.ok())
        return {properties.code, {}};
    return {DialUpOk, stateOf(properties.value.value(u"State"_s).toUInt())};
}

DialUpResult<QString> NetworkManagerDialUp::ipAddress(DialUpHandle handle)
{
    const QString path = pathOf(handle);
    if (path.isEmpty())
        return {DialUpInvalidHandle, {}};
    const DialUpResult<QVariantMap> properties = activeProperties(path);
    if (!properties.ok())
        return {properties.code, {}};
    const QString config = objectPath(properties.value.value(u"Ip4Config"_s));
    if (config.isEmpty() || config == u"/"_s)
        return {DialUpOk, {}}; // no address yet
    QDBusMessage ask = QDBusMessage::createMethodCall(Service, config, PropertiesIface, u"GetAll"_s);
    ask << Ip4Iface;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {DialUpOk, {}};
    const QVariantMap ip4 = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    const QVariant data = ip4.value(u"AddressData"_s);
    if (data.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = data.value<QDBusArgument>();
        QString first;
        arg.beginArray();
        while (!arg.atEnd()) {
            QVariantMap address;
            arg >> address;
            if (first.isEmpty())
                first = address.value(u"address"_s).toString();
        }
        arg.endArray();
        if (!first.isEmpty())
            return {DialUpOk, first};
    }
    // The older form: arrays of (address, prefix, gateway) in network byte order.
    const QVariant addresses = ip4.value(u"Addresses"_s);
    if (addresses.canConvert<QDBusArgument>()) {
        const QList<QList<uint>> list = qdbus_cast<QList<QList<uint>>>(addresses);
        if (!list.isEmpty() && !list.constFirst().isEmpty())
            {
            // Network byte order: the first octet is the lowest byte.
            const quint32 a = list.constFirst().constFirst();
            return {DialUpOk, u"%1.%2.%3.%4"_s.arg(a & 0xff).arg((a >> 8) & 0xff)
                                  .arg((a >> 16) & 0xff).arg(a >> 24)};
        }
    }
    return {DialUpOk, {}};
}

DialUpResult<QString> NetworkManagerDialUp::interfaceName(DialUpHandle handle)
{
    const QString path = pathOf(handle);
    if (path.isEmpty())
        return {DialUpInvalidHandle, {}};
    const DialUpResult<QVariantMap> properties = activeProperties(path);
    if (!properties.ok())
        return {properties.code, {}};
    for (const QString& device : objectPaths(properties.value.value(u"Devices"_s))) {
        QDBusMessage ask = QDBusMessage::createMethodCall(Service, device, PropertiesIface, u"Get"_s);
        ask << DeviceIface << u"IpInterface"_s;
        const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            continue;
        // Only the IP interface: a modem's Interface is its control port (ttyUSB0, cdc-wdm0)
        // and a PPPoE device's is the Ethernet card, whose counters hold all its traffic.
        const QString name =
            reply.arguments().constFirst().value<QDBusVariant>().variant().toString();
        if (!name.isEmpty())
            return {DialUpOk, name};
    }
    return {DialUpOk, {}}; // no IP interface yet
}

DialUpResult<DialUpHandle> NetworkManagerDialUp::dial(const QString& entry, const QString&,
                                                      const QString&, DialUpProgress progress)
{
    // NetworkManager dials with the login saved in the profile (or asks its secret agent).
    const DialUpResult<Profile> found = profile(entry);
    if (!found.ok())
        return {found.code, 0};
    QDBusMessage ask =
        QDBusMessage::createMethodCall(Service, ManagerPath, ManagerIface, u"ActivateConnection"_s);
    ask << QVariant::fromValue(QDBusObjectPath(found.value.path))
        << QVariant::fromValue(QDBusObjectPath(u"/"_s))
        << QVariant::fromValue(QDBusObjectPath(u"/"_s));
    ask.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {NetworkManagerErrorCode(reply.errorName()), 0};
    const QString active = objectPath(reply.arguments().constFirst());
    const DialUpHandle handle = handleOf(active);
    {
        const QMutexLocker lock(&m_mutex);
        m_activeReasons.remove(active);
        Dialling dialling;
        dialling.handle = handle;
        dialling.activePath = active;
        dialling.progress = std::move(progress);
        m_dialling.push_back(std::move(dialling));
    }
    m_poll->start();
    return {DialUpOk, handle};
}

void NetworkManagerDialUp::poll()
{
    struct Event {
        DialUpProgress progress;
        DialUpHandle handle = 0;
        qint32 state = 0;
        DialUpCode error = DialUpOk;
    };
    std::vector<Dialling> dialling;
    {
        const QMutexLocker lock(&m_mutex);
        dialling = m_dialling;
    }
    std::vector<Event> events;
    std::vector<DialUpHandle> finished;
    for (Dialling& d : dialling) {
        const DialUpResult<QVariantMap> properties = activeProperties(d.activePath);
        if (properties.code == 638)
            continue; // a slow answer: ask again on the next tick
        const quint32 nmState =
            properties.ok() ? properties.value.value(u"State"_s).toUInt() : quint32(NmDeactivated);
        const qint32 state = stateOf(nmState);
        if (state == DialUpState::Disconnected) {
            quint32 deviceReason = 0;
            quint32 activeReason = 0;
            {
                const QMutexLocker lock(&m_mutex);
                activeReason = m_activeReasons.value(d.activePath);
                for (const QString& device : m_devicesOf.value(d.activePath))
                    deviceReason = m_deviceReasons.value(device, deviceReason);
            }
            const qint32 reached = d.lastState < 0 ? DialUpState::OpeningPort : d.lastState;
            events.push_back({d.progress, d.handle, reached,
                              NetworkManagerFailureCode(deviceReason, activeReason)});
            finished.push_back(d.handle);
            continue;
        }
        if (state != d.lastState)
            events.push_back({d.progress, d.handle, state, DialUpOk});
        if (state == DialUpState::Connected)
            finished.push_back(d.handle);
        const QMutexLocker lock(&m_mutex);
        for (Dialling& kept : m_dialling)
            if (kept.handle == d.handle)
                kept.lastState = state;
    }
    {
        const QMutexLocker lock(&m_mutex);
        std::erase_if(m_dialling, [&finished](const Dialling& d) {
            return std::find(finished.begin(), finished.end(), d.handle) != finished.end();
        });
        if (m_dialling.empty())
            m_poll->stop();
    }
    for (const Event& event : events)
        if (event.progress)
            event.progress(event.handle, event.state, event.error);
}

DialUpCode NetworkManagerDialUp::hangUp(DialUpHandle handle)
{
    const QString path = pathOf(handle);
    {
        const QMutexLocker lock(&m_mutex);
        std::erase_if(m_dialling, [handle](const Dialling& d) { return d.handle == handle; });
    }
    if (path.isEmpty())
        return DialUpNoConnection;
    QDBusMessage ask = QDBusMessage::createMethodCall(Service, ManagerPath, ManagerIface,
                                                      u"DeactivateConnection"_s);
    ask << QVariant::fromValue(QDBusObjectPath(path));
    ask.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return DialUpOk;
    const DialUpCode code = NetworkManagerErrorCode(reply.errorName());
    return code == DialUpNoEntry ? DialUpNoConnection : code;
}

std::unique_ptr<DialUpService> CreateDefaultDialUpService(const QDBusConnection& bus)
{
    const QString forced = qEnvironmentVariable("VESTREL_DIALUP").trimmed().toLower();
    if (forced == u"simulated"_s)
        return std::make_unique<SimulatedDialUp>();
    if (forced == u"networkmanager"_s)
        return std::make_unique<NetworkManagerDialUp>(bus);
    if (forced == u"pppd"_s)
        return std::make_unique<PppdDialUp>();
    if (forced == u"none"_s)
        return std::make_unique<NoDialUp>();
    if (!forced.isEmpty())
        qWarning("VESTREL_DIALUP: unknown backend \"%s\", choosing one by itself",
                 qPrintable(forced));
    if (HasDBusService(bus, Service))
        return std::make_unique<NetworkManagerDialUp>(bus);
    if (QFileInfo(PppdPaths().peersDir).isDir())
        return std::make_unique<PppdDialUp>();
    return std::make_unique<NoDialUp>();
}

} // namespace vestrel::platform
