#include "ModemManagerLine.h"

#include "DBusPresence.h"
#include "SimulatedLine.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <algorithm>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Service = u"org.freedesktop.ModemManager1"_s;
const QString RootPath = u"/org/freedesktop/ModemManager1"_s;
const QString ObjectManagerIface = u"org.freedesktop.DBus.ObjectManager"_s;
const QString PropertiesIface = u"org.freedesktop.DBus.Properties"_s;
const QString ModemIface = u"org.freedesktop.ModemManager1.Modem"_s;
const QString VoiceIface = u"org.freedesktop.ModemManager1.Modem.Voice"_s;
const QString CallIface = u"org.freedesktop.ModemManager1.Call"_s;

// MMCallState, MMCallDirection and the MMCallStateReason values that matter here.
enum : qint32 {
    MmUnknown = 0, MmDialing = 1, MmRingingOut = 2, MmRingingIn = 3, MmActive = 4, MmHeld = 5,
    MmWaiting = 6, MmTerminated = 7
};
enum : qint32 { MmIncoming = 1, MmOutgoing = 2 };
enum : quint32 {
    MmReasonUnknown = 0, MmRefusedOrBusy = 5, MmError = 6, MmAudioSetupFailed = 7,
    MmTransferred = 8, MmDeflected = 9
};

// The offering and connected modes "at this station".
constexpr quint32 HereMode = 0x1;
// Which parts of the call information changed: all of them.
constexpr qint64 AllCallInfo = 0xFFFFFF;

quint32 disconnectMode(quint32 reason, qint32 direction)
{
    switch (reason) {
    case MmReasonUnknown: return LineDisconnectMode::Unknown;
    case MmRefusedOrBusy:
        return direction == MmOutgoing ? LineDisconnectMode::Busy : LineDisconnectMode::Reject;
    case MmError:
    case MmAudioSetupFailed: return LineDisconnectMode::Unavailable;
    case MmTransferred:
    case MmDeflected: return LineDisconnectMode::Forwarded;
    default: return LineDisconnectMode::Normal;
    }
}

QString pathTail(const QString& path)
{
    return path.section(u'/', -1);
}

// The modem's name for the user and the settings: manufacturer and model, which stay the same
// from one plug-in to the next (the ports and the object path may not).
QString modemName(const QVariantMap& modem)
{
    const QString made =
        modem.value(u"Manufacturer"_s).toString() + u' ' + modem.value(u"Model"_s).toString();
    return made.simplified();
}

QStringList objectPaths(const QVariant& value)
{
    QStringList paths;
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(value))
        paths << path.path();
    return paths;
}

} // namespace

// ModemManager call states as line messages (state / mode):
//
//  MMCallState                 line messages sent
//   unknown (0)                 unknown
//   dialing (1)                 dialing
//   ringing-out (2)             ringback          (after dialing, when that was not seen)
//   ringing-in (3)              offering / here
//   active (4)                  connected / here  (after dialing for an outgoing call or
//                                                  offering for an incoming one, when not seen)
//   held (5)                    on hold
//   waiting (6)                 offering / here   (a second incoming call while one is up)
//   terminated (7)              disconnected / mode below, then idle
//
//  MMCallStateReason at termination         disconnect mode
//   unknown (0)                              unknown
//   refused-or-busy (5)                      busy (outgoing), reject (incoming)
//   error (6), audio-setup-failed (7)        unavailable
//   transferred (8), deflected (9)           forwarded
//   any other (terminated 4, …)              normal
//
// The monitor counts a call from dialing or offering to connected, and ends it at disconnected
// or idle; a modem that reports an outgoing call only once it rings or is answered still shows
// its dialing first.
std::vector<LineStateStep> ModemManagerCallSteps(qint32 mmState, qint32 direction, quint32 reason,
                                                 bool announced)
{
    const LineStateStep dialing{LineCallState::Dialing, 0};
    const LineStateStep offering{LineCallState::Offering, HereMode};
    switch (mmState) {
    case MmDialing: return {dialing};
    case MmRingingOut:
        if (!announced)
            return {dialing, {LineCallState::RingBack, 0}};
        return {{LineCallState::RingBack, 0}};
    case MmRingingIn:
    case MmWaiting: return {offering};
    case MmActive: {
        std::vector<LineStateStep> steps;
        if (!announced && direction == MmOutgoing)
            steps.push_back(dialing);
        else if (!announced && direction == MmIncoming)
            steps.push_back(offering);
        steps.push_back({LineCallState::Connected, HereMode});
        return steps;
    }
    case MmHeld: return {{LineCallState::OnHold, 0}};
    case MmTerminated:
        return {{LineCallState::Disconnected, disconnectMode(reason, direction)},
                {LineCallState::Idle, 0}};
    default: return {{LineCallState::Unknown, 0}};
    }
}

ModemManagerLine::ModemManagerLine(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus)), m_timeoutMs(timeoutMs),
      m_watcher(new QDBusServiceWatcher(Service, m_bus, QDBusServiceWatcher::WatchForUnregistration,
                                        this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &ModemManagerLine::onServiceGone);
}

ModemManagerLine::~ModemManagerLine()
{
    if (m_handler)
        shutdown();
}

LineResult<qint32> ModemManagerLine::initialize(const QString&, LineMessageHandler handler)
{
    if (!m_lines.empty()) {
        // Watching already: the device numbers stay as they are.
        m_handler = std::move(handler);
        return {LineOk, qint32(m_modems.size())};
    }
    m_failure.clear();
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(Service, RootPath, ObjectManagerIface,
                                       u"GetManagedObjects"_s),
        QDBus::Block, m_timeoutMs);
    std::vector<Modem> modems;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const QDBusError error(reply);
        if (!IsAbsentServiceError(error)) {
            m_failure = u"ModemManager: "_s + (error.message().isEmpty() ? error.name()
                                                                          : error.message());
            return {LineErrOperationFailed, 0};
        }
    } else {
        // a{oa{sa{sv}}}: every object with its interfaces and their properties.
        const QDBusArgument objects = reply.arguments().constFirst().value<QDBusArgument>();
        objects.beginMap();
        while (!objects.atEnd()) {
            QDBusObjectPath path;
            QMap<QString, QVariantMap> interfaces;
            objects.beginMapEntry();
            objects >> path >> interfaces;
            objects.endMapEntry();
            // The modem's capabilities (POTS, GSM/UMTS, LTE, …) say nothing of voice; a modem
            // that can place and take calls has the Voice interface.
            if (interfaces.contains(ModemIface) && interfaces.contains(VoiceIface)) {
                const QVariantMap& modem = interfaces[ModemIface];
                modems.push_back({path.path(), modemName(modem),
                                  modem.value(u"PrimaryPort"_s).toString()});
            }
        }
        objects.endMap();
        // In the order ModemManager found them: Modem/2 before Modem/10.
        std::sort(modems.begin(), modems.end(), [](const Modem& a, const Modem& b) {
            return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
        });
        // Two modems of the same make and model are told apart by their port (the names are
        // compared without case, as the monitor looks them up).
        std::vector<QString> names;
        for (const Modem& modem : modems)
            names.push_back(modem.name.toCaseFolded());
        for (Modem& modem : modems) {
            if (!modem.name.isEmpty()
                && std::count(names.begin(), names.end(), modem.name.toCaseFolded()) == 1)
                continue;
            const QString tag = modem.port.isEmpty() ? u"modem "_s + pathTail(modem.path) : modem.port;
            modem.name = modem.name.isEmpty() ? tag : modem.name + u" ("_s + tag + u')';
        }
    }
    m_modems = std::move(modems);
    m_handler = std::move(handler);
    return {LineOk, qint32(m_modems.size())};
}

LineCode ModemManagerLine::shutdown()
{
    if (!m_handler)
        return LineErrUninitialized;
    while (!m_lines.empty())
        close(m_lines.front().handle);
    m_handler = nullptr;
    m_calls.clear();
    return LineOk;
}

LineResult<LineDeviceCaps> ModemManagerLine::deviceCaps(qint32 deviceId)
{
    if (!m_handler)
        return {LineErrUninitialized, {}};
    if (deviceId < 0 || deviceId >= qint32(m_modems.size()))
        return {LineErrBadDeviceId, {}};
    // ModemManager does not tell a voice call from a data call placed through the same modem:
    // the line carries both, so it is a mixed line, and the monitor (which watches data and
    // mixed lines) accepts it.
    return {LineOk,
            {m_modems[size_t(deviceId)].name, LineMediaMode::Mixed | LineMediaMode::InteractiveVoice}};
}

bool ModemManagerLine::isMonitored(qint32 deviceId) const
{
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [deviceId](const OpenLine& l) { return l.deviceId == deviceId; });
}

qint32 ModemManagerLine::deviceOfModem(const QString& modemPath) const
{
    for (size_t i = 0; i < m_modems.size(); ++i)
        if (m_modems[i].path == modemPath)
            return qint32(i);
    return -1;
}

ModemManagerLine::Call* ModemManagerLine::find(LineCallHandle handle)
{
    const auto it = std::find_if(m_calls.begin(), m_calls.end(),
                                 [handle](const Call& c) { return c.handle == handle; });
    return it == m_calls.end() ? nullptr : &*it;
}

ModemManagerLine::Call* ModemManagerLine::findPath(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    const auto it = std::find_if(m_calls.begin(), m_calls.end(),
                                 [&path](const Call& c) { return c.path == path; });
    return it == m_calls.end() ? nullptr : &*it;
}

void ModemManagerLine::listen(const QString& path, const QString& iface, const QString& name,
                              const char* slot, bool on)
{
    if (on)
        m_bus.connect(Service, path, iface, name, this, slot);
    else
        m_bus.disconnect(Service, path, iface, name, this, slot);
}

void ModemManagerLine::subscribe(const QString& modemPath, bool on)
{
    listen(modemPath, VoiceIface, u"CallAdded"_s, SLOT(onCallAdded(QDBusObjectPath)), on);
    listen(modemPath, VoiceIface, u"CallDeleted"_s, SLOT(onCallDeleted(QDBusObjectPath)), on);
}

void ModemManagerLine::subscribeShared(bool on)
{
    if (on == m_sharedSignals)
        return;
    m_sharedSignals = on;
    // The call objects of every watched modem, and the modems leaving.
    listen({}, CallIface, u"StateChanged"_s, SLOT(onCallStateChanged(int, int, uint)), on);
    listen({}, PropertiesIface, u"PropertiesChanged"_s,
           SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)), on);
    listen(RootPath, ObjectManagerIface, u"InterfacesRemoved"_s,
           SLOT(onInterfacesRemoved(QDBusObjectPath, QStringList)), on);
}

LineResult<LineHandle> ModemManagerLine::openMonitor(qint32 deviceId)
{
    if (!m_handler)
        return {LineErrUninitialized, 0};
    if (deviceId < 0 || deviceId >= qint32(m_modems.size()))
        return {LineErrBadDeviceId, 0};
    const bool first = !isMonitored(deviceId);
    const LineHandle line = m_nextLine++;
    subscribeShared(true);
    if (first)
        subscribe(m_modems[size_t(deviceId)].path, true);
    m_lines.push_back({line, deviceId});
    if (!first)
        return {LineOk, line};

    // The calls under way are followed from their next change: what they went through before
    // counts as seen.
    QDBusMessage ask = QDBusMessage::createMethodCall(Service, m_modems[size_t(deviceId)].path,
                                                      PropertiesIface, u"Get"_s);
    ask << VoiceIface << u"Calls"_s;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        for (const QString& path :
             objectPaths(reply.arguments().constFirst().value<QDBusVariant>().variant())) {
            if (findPath(path))
                continue;
            const std::optional<Adopted> adopted = adopt(path, deviceId);
            if (!adopted)
                continue;
            Call* call = find(adopted->handle);
            const std::vector<LineStateStep> steps =
                ModemManagerCallSteps(adopted->state, call->direction, adopted->reason, true);
            call->announced = true;
            call->lineState = steps.back().state;
        }
    }
    return {LineOk, line};
}

LineCode ModemManagerLine::close(LineHandle line)
{
    const auto it = std::find_if(m_lines.begin(), m_lines.end(),
                                 [line](const OpenLine& l) { return l.handle == line; });
    if (it == m_lines.end())
        return LineErrInvalLineHandle;
    const qint32 deviceId = it->deviceId;
    m_lines.erase(it);
    if (isMonitored(deviceId))
        return LineOk;
    // Nobody watches the modem any more: its calls are forgotten.
    std::erase_if(m_calls, [deviceId](const Call& c) { return c.deviceId == deviceId; });
    subscribe(m_modems[size_t(deviceId)].path, false);
    if (m_lines.empty())
        subscribeShared(false);
    return LineOk;
}

LineResult<LineCallInfo> ModemManagerLine::callInfo(LineCallHandle call)
{
    const Call* c = find(call);
    if (!c)
        return {LineErrInvalCallHandle, {}};
    return {LineOk, c->info};
}

LineCode ModemManagerLine::deallocateCall(LineCallHandle call)
{
    return std::erase_if(m_calls, [call](const Call& c) { return c.handle == call; })
               ? LineOk
               : LineErrInvalCallHandle;
}

QString ModemManagerLine::errorText(LineCode code) const
{
    const QString text = StandardLineErrorText(code);
    if (code != LineErrOperationFailed || m_failure.isEmpty())
        return text;
    return text + u" ("_s + m_failure + u')';
}

std::optional<ModemManagerLine::Adopted> ModemManagerLine::adopt(const QString& callPath,
                                                                 qint32 deviceId)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(Service, callPath, PropertiesIface, u"GetAll"_s);
    ask << CallIface;
    const QDBusMessage reply = m_bus.call(ask, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    Call call;
    call.handle = m_nextCall++;
    call.path = callPath;
    call.deviceId = deviceId;
    call.direction = properties.value(u"Direction"_s).toInt();
    call.info.lineDeviceId = deviceId;
    setNumber(call, properties.value(u"Number"_s).toString());
    m_calls.push_back(std::move(call));
    return Adopted{m_calls.back().handle, properties.value(u"State"_s).toInt(),
                   properties.value(u"StateReason"_s).toUInt()};
}

void ModemManagerLine::setNumber(Call& call, const QString& number)
{
    // A withheld number is an empty one: the previous call's number must not stay on show.
    call.info.displayableAddress = number;
    if (call.direction == MmIncoming)
        call.info.callerId = number;
    else if (call.direction == MmOutgoing)
        call.info.calledId = number;
}

void ModemManagerLine::deliver(LineCallHandle handle, qint32 mmState, quint32 reason)
{
    const Call* call = find(handle);
    if (!call)
        return;
    const std::vector<LineStateStep> steps =
        ModemManagerCallSteps(mmState, call->direction, reason, call->announced);
    if (steps.back().state == call->lineState
        || (call->lineState == LineCallState::Idle && mmState == MmTerminated))
        return; // told already
    for (const LineStateStep& step : steps) {
        // The handler may release the call, or close the line, at any message.
        Call* c = find(handle);
        if (!c)
            return;
        c->lineState = step.state;
        if (step.state == LineCallState::Dialing || step.state == LineCallState::Offering)
            c->announced = true;
        send(handle, LineMessage::CallState, step.state, step.mode);
    }
}

void ModemManagerLine::end(LineCallHandle handle)
{
    const Call* call = find(handle);
    if (call && call->lineState != LineCallState::Idle
        && call->lineState != LineCallState::Disconnected)
        deliver(handle, MmTerminated, MmReasonUnknown);
}

void ModemManagerLine::endCallsOf(qint32 deviceId)
{
    std::vector<LineCallHandle> handles;
    for (const Call& c : m_calls)
        if (deviceId < 0 || c.deviceId == deviceId)
            handles.push_back(c.handle);
    for (const LineCallHandle handle : handles)
        end(handle);
}

void ModemManagerLine::send(LineCallHandle handle, qint32 message, qint64 p1, qint64 p2)
{
    const Call* call = find(handle);
    if (!m_handler || !call || !isMonitored(call->deviceId))
        return;
    // A copy: the handler may shut the service down.
    const LineMessageHandler handler = m_handler;
    handler(handle, message, p1, p2, 0);
}

void ModemManagerLine::onCallAdded(const QDBusObjectPath& callPath)
{
    const qint32 deviceId = deviceOfModem(message().path());
    if (deviceId < 0 || !isMonitored(deviceId) || findPath(callPath.path()))
        return;
    const std::optional<Adopted> adopted = adopt(callPath.path(), deviceId);
    if (adopted)
        deliver(adopted->handle, adopted->state, adopted->reason);
}

void ModemManagerLine::onCallDeleted(const QDBusObjectPath& callPath)
{
    Call* call = findPath(callPath.path());
    if (!call)
        return;
    call->path.clear();
    end(call->handle);
}

void ModemManagerLine::onCallStateChanged(int, int newState, uint reason)
{
    if (const Call* call = findPath(message().path()))
        deliver(call->handle, newState, reason);
}

void ModemManagerLine::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                           const QStringList&)
{
    if (interface != CallIface)
        return;
    Call* call = findPath(message().path());
    if (!call || !(changed.contains(u"Number"_s) || changed.contains(u"Direction"_s)))
        return;
    if (changed.contains(u"Direction"_s))
        call->direction = changed.value(u"Direction"_s).toInt();
    QString number = call->info.displayableAddress.value_or(QString());
    if (changed.contains(u"Number"_s))
        number = changed.value(u"Number"_s).toString();
    setNumber(*call, number);
    send(call->handle, LineMessage::CallInfo, AllCallInfo, 0);
}

void ModemManagerLine::onInterfacesRemoved(const QDBusObjectPath& object, const QStringList& interfaces)
{
    if (interfaces.contains(ModemIface) || interfaces.contains(VoiceIface)) {
        const qint32 deviceId = deviceOfModem(object.path());
        if (deviceId >= 0)
            endCallsOf(deviceId);
    }
}

void ModemManagerLine::onServiceGone()
{
    for (Call& call : m_calls)
        call.path.clear();
    endCallsOf(-1);
}

std::unique_ptr<LineService> CreateDefaultLineService(const QDBusConnection& bus)
{
    const QString forced = qEnvironmentVariable("VESTREL_LINE").trimmed().toLower();
    if (forced == u"simulated"_s)
        return std::make_unique<SimulatedLine>();
    if (forced == u"modemmanager"_s)
        return std::make_unique<ModemManagerLine>(bus);
    if (forced == u"none"_s)
        return std::make_unique<NoLine>();
    if (!forced.isEmpty())
        qWarning("VESTREL_LINE: unknown backend \"%s\", choosing one by itself", qPrintable(forced));
    if (HasDBusService(bus, Service))
        return std::make_unique<ModemManagerLine>(bus);
    return std::make_unique<NoLine>();
}

} // namespace vestrel::platform
