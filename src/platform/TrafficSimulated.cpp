#include "TrafficSimulated.h"

#include <algorithm>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

TrafficSimulated::Interface* TrafficSimulated::find(const QString& name)
{
    const auto it = std::find_if(m_interfaces.begin(), m_interfaces.end(),
                                 [&](const Interface& i) { return i.name == name; });
    return it == m_interfaces.end() ? nullptr : &*it;
}

TrafficSimulated::Interface& TrafficSimulated::findOrAdd(const QString& name)
{
    if (Interface* existing = find(name))
        return *existing;
    Interface added{name, {}};
    added.reading.ifIndex = m_nextIndex++;
    m_interfaces.push_back(added);
    return m_interfaces.back();
}

void TrafficSimulated::setCounters(const QString& interfaceName, quint64 bytesSent,
                                   quint64 bytesReceived)
{
    TrafficReading& r = findOrAdd(interfaceName).reading;
    r.status = TrafficReading::Status::Ok;
    r.error.clear();
    r.bytesSent = bytesSent;
    r.bytesReceived = bytesReceived;
}

void TrafficSimulated::setFailure(const QString& interfaceName, const QString& error)
{
    TrafficReading& r = findOrAdd(interfaceName).reading;
    r.status = TrafficReading::Status::Failed;
    r.error = error;
}

void TrafficSimulated::removeInterface(const QString& interfaceName)
{
    std::erase_if(m_interfaces, [&](const Interface& i) { return i.name == interfaceName; });
}

QStringList TrafficSimulated::dialUpInterfaces()
{
    QStringList names;
    for (const Interface& i : m_interfaces)
        names << i.name;
    return names;
}

TrafficReading TrafficSimulated::read(const QString& interfaceName)
{
    ++m_reads;
    if (const Interface* i = find(interfaceName))
        return i->reading;
    return {};
}

QString TrafficSimulated::description() const
{
    return u"Contatori simulati"_s;
}

} // namespace vestrel::platform
