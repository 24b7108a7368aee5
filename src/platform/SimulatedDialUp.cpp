#include "SimulatedDialUp.h"

#include <QMutexLocker>

#include <algorithm>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {
// Not yet connected: no address to tell.
constexpr DialUpCode ProjectionNotComplete = 730;
} // namespace

SimulatedDialUp::SimulatedDialUp() : m_dialScript(successfulDial(u"10.0.0.2"_s)) {}

SimulatedDialUp::SimulatedDialUp(std::vector<Entry> entries) : SimulatedDialUp()
{
    m_entries = std::move(entries);
}

SimulatedDialUp::~SimulatedDialUp() = default;

SimulatedDialUp::DialScript SimulatedDialUp::successfulDial(const QString& ip)
{
    return {{{0, DialUpState::OpeningPort}, {100, DialUpState::PortOpened},
             {200, DialUpState::ConnectingDevice}, {2000, DialUpState::DeviceConnected},
             {2500, DialUpState::Authenticating}, {3500, DialUpState::Projected},
             {4000, DialUpState::Connected}},
            ip, DialUpOk};
}

SimulatedDialUp::DialScript SimulatedDialUp::failingDial(std::vector<qint32> states, DialUpCode error)
{
    DialScript script;
    qint64 at = 0;
    for (const qint32 state : states) {
        script.steps.push_back({at, state, DialUpOk});
        at += 1000;
    }
    script.steps.push_back({at, states.empty() ? DialUpState::OpeningPort : states.back(), error});
    return script;
}

void SimulatedDialUp::addEntry(const QString& name, const DialUpCredentials& credentials)
{
    QMutexLocker lock(&m_mutex);
    if (Entry* entry = find(name))
        entry->credentials = credentials;
    else
        m_entries.push_back({name, credentials});
}

void SimulatedDialUp::setEntryProperties(const QString& name, const DialUpEntryProperties& properties)
{
    QMutexLocker lock(&m_mutex);
    if (Entry* entry = find(name))
        entry->properties = properties;
    else
        m_entries.push_back({name, {}, properties});
}

void SimulatedDialUp::removeEntry(const QString& name)
{
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_entries, [&](const Entry& e) { return e.name == name; });
}

void SimulatedDialUp::setFailure(DialUpCode code, const QString& text)
{
    QMutexLocker lock(&m_mutex);
    m_failure = code;
    if (!text.isEmpty())
        m_failureTexts.insert(code, text);
}

void SimulatedDialUp::failNext(Operation operation, DialUpCode code, int times)
{
    QMutexLocker lock(&m_mutex);
    m_nextFailures.insert(operation, {code, times});
}

DialUpCode SimulatedDialUp::failure(Operation operation)
{
    if (m_failure != DialUpOk)
        return m_failure;
    const auto it = m_nextFailures.find(operation);
    if (it == m_nextFailures.end())
        return DialUpOk;
    const DialUpCode code = it->first;
    if (--it->second <= 0)
        m_nextFailures.erase(it);
    return code;
}

void SimulatedDialUp::setDialScript(DialScript script)
{
    m_dialScript = std::move(script);
}

void SimulatedDialUp::setHangUpDelay(qint64 ms)
{
    m_hangUpDelay = ms;
}

SimulatedDialUp::Entry* SimulatedDialUp::find(const QString& name)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& e) { return e.name == name; });
    return it == m_entries.end() ? nullptr : &*it;
}

SimulatedDialUp::Connection* SimulatedDialUp::connection(DialUpHandle handle)
{
    const auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                 [&](const Connection& c) { return c.handle == handle; });
    return it == m_connections.end() ? nullptr : &*it;
}

DialUpHandle SimulatedDialUp::addConnection(const QString& entry, qint32 state, const QString& ip)
{
    QMutexLocker lock(&m_mutex);
    const DialUpHandle handle = m_nextHandle++;
    m_connections.push_back({handle, entry, state, ip});
    return handle;
}

void SimulatedDialUp::setConnectionState(DialUpHandle handle, qint32 state)
{
    QMutexLocker lock(&m_mutex);
    if (Connection* c = connection(handle))
        c->state = state;
}

void SimulatedDialUp::setConnectionIp(DialUpHandle handle, const QString& ip)
{
    QMutexLocker lock(&m_mutex);
    if (Connection* c = connection(handle))
        c->ip = ip;
}

void SimulatedDialUp::removeConnection(DialUpHandle handle)
{
    QMutexLocker lock(&m_mutex);
    m_timeline.cancel(handle);
    std::erase_if(m_connections, [&](const Connection& c) { return c.handle == handle; });
}

void SimulatedDialUp::scriptConnection(const QString& entry, std::vector<Step> steps,
                                       const QString& ip, qint64 goneAtMs)
{
    if (steps.empty())
        return;
    // The handle is known only when the connection appears; the later steps find it here.
    auto handle = std::make_shared<DialUpHandle>(0);
    const Step first = steps.front();
    m_timeline.after(first.atMs, [this, handle, entry, first, ip] {
        *handle = addConnection(entry, first.state,
                                first.state == DialUpState::Connected ? ip : QString());
    });
    for (auto it = steps.begin() + 1; it != steps.end(); ++it) {
        const qint32 state = it->state;
        m_timeline.after(it->atMs, [this, handle, state, ip] {
            setConnectionState(*handle, state);
            if (state == DialUpState::Connected)
                setConnectionIp(*handle, ip);
        });
    }
    if (goneAtMs >= 0)
        m_timeline.after(goneAtMs, [this, handle] { removeConnection(*handle); });
}

void SimulatedDialUp::after(qint64 ms, ScriptTimeline::Step step)
{
    m_timeline.after(ms, std::move(step));
}

std::vector<SimulatedDialUp::DialRequest> SimulatedDialUp::dials() const
{
    QMutexLocker lock(&m_mutex);
    return m_dials;
}

std::vector<DialUpHandle> SimulatedDialUp::hangUps() const
{
    QMutexLocker lock(&m_mutex);
    return m_hangUps;
}

int SimulatedDialUp::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_connections.size());
}

DialUpResult<QStringList> SimulatedDialUp::entries()
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::Entries))
        return {code, {}};
    QStringList names;
    for (const Entry& e : m_entries)
        if (!e.name.isEmpty())
            names.append(e.name);
    return {DialUpOk, names};
}

DialUpResult<DialUpCredentials> SimulatedDialUp::entryCredentials(const QString& entry)
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::Credentials))
        return {code, {}};
    const Entry* e = find(entry);
    if (!e)
        return {DialUpNoEntry, {}};
    return {DialUpOk, e->credentials};
}

DialUpCode SimulatedDialUp::setEntryCredentials(const QString& entry, const QString& userName,
                                                const QString& password, bool removePassword)
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::Credentials))
        return code;
    Entry* e = find(entry);
    if (!e)
        return DialUpNoEntry;
    e->credentials.userName = userName;
    e->credentials.password = removePassword ? QString() : password;
    e->credentials.hasPassword = !removePassword;
    return DialUpOk;
}

QString SimulatedDialUp::errorText(DialUpCode code) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_failureTexts.constFind(code);
    return it != m_failureTexts.cend() ? *it : DialUpService::errorText(code);
}

DialUpResult<DialUpEntryProperties> SimulatedDialUp::entryProperties(const QString& entry)
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::Properties))
        return {code, {}};
    const Entry* e = find(entry);
    if (!e)
        return {DialUpNoEntry, {}};
    return {DialUpOk, e->properties};
}

DialUpResult<std::vector<DialUpConnection>> SimulatedDialUp::connections()
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::Connections))
        return {code, {}};
    std::vector<DialUpConnection> list;
    for (const Connection& c : m_connections)
        list.push_back({c.handle, c.entry});
    return {DialUpOk, list};
}

DialUpResult<qint32> SimulatedDialUp::connectionState(DialUpHandle handle)
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::State))
        return {code, {}};
    const Connection* c = connection(handle);
    if (!c)
        return {DialUpInvalidHandle, {}};
    return {DialUpOk, c->state};
}

DialUpResult<QString> SimulatedDialUp::ipAddress(DialUpHandle handle)
{
    QMutexLocker lock(&m_mutex);
    if (const DialUpCode code = failure(Operation::IpAddress))
        return {code, {}};
    const Connection* c = connection(handle);
    if (!c)
        return {DialUpInvalidHandle, {}};
    if (c->ip.isEmpty())
        return {ProjectionNotComplete, {}};
    return {DialUpOk, c->ip};
}

DialUpResult<DialUpHandle> SimulatedDialUp::dial(const QString& entry, const QString& userName,
                                                 const QString& password, DialUpProgress progress)
{
    QMutexLocker lock(&m_mutex);
    m_dials.push_back({entry, userName, password});
    if (const DialUpCode code = failure(Operation::Dial))
        return {code, 0};
    if (m_dialScript.result != DialUpOk)
        return {m_dialScript.result, 0};
    if (!find(entry))
        return {DialUpNoEntry, 0};
    const DialUpHandle handle = addConnection(entry, DialUpState::OpeningPort);
    const QString ip = m_dialScript.ip;
    for (const Step& step : m_dialScript.steps)
        m_timeline.after(step.atMs, [this, handle, step, ip, progress] {
            dialStep(handle, step, ip, progress);
        }, handle);
    return {DialUpOk, handle};
}

void SimulatedDialUp::dialStep(DialUpHandle handle, const Step& step, const QString& ip,
                               const DialUpProgress& progress)
{
    {
        QMutexLocker lock(&m_mutex);
        Connection* c = connection(handle);
        if (!c || c->hangingUp)
            return;
        c->state = step.state;
        if (step.state == DialUpState::Connected)
            c->ip = ip;
        // A failed or finished dial reports nothing more.
        if (step.error != DialUpOk || step.state == DialUpState::Connected)
            m_timeline.cancel(handle);
    }
    if (progress)
        progress(handle, step.state, step.error);
}

DialUpCode SimulatedDialUp::hangUp(DialUpHandle handle)
{
    QMutexLocker lock(&m_mutex);
    m_hangUps.push_back(handle);
    if (const DialUpCode code = failure(Operation::HangUp))
        return code;
    Connection* c = connection(handle);
    if (!c)
        return DialUpNoConnection;
    if (c->hangingUp)
        return DialUpOk;
    m_timeline.cancel(handle);
    if (m_hangUpDelay <= 0) {
        removeConnection(handle);
    } else {
        c->hangingUp = true;
        m_timeline.after(m_hangUpDelay, [this, handle] { removeConnection(handle); }, handle);
    }
    return DialUpOk;
}

} // namespace vestrel::platform
