#pragma once

#include "TrafficService.h"

#include <vector>

namespace vestrel::platform {

// Scripted counters: interfaces appear with given values, change, fail and disappear when told.
class TrafficSimulated final : public TrafficService {
public:
    // Creates the interface when it is missing (it then gets a new index, as a real interface
    // created again would) and clears a failure set on it.
    void setCounters(const QString& interfaceName, quint64 bytesSent, quint64 bytesReceived);
    // Every reading of the interface fails with `error` until setCounters.
    void setFailure(const QString& interfaceName, const QString& error);
    void removeInterface(const QString& interfaceName);
    int readCount() const { return m_reads; }

    QStringList dialUpInterfaces() override;
    TrafficReading read(const QString& interfaceName) override;
    QString description() const override;

private:
    struct Interface {
        QString name;
        TrafficReading reading;
    };
    Interface* find(const QString& name);
    Interface& findOrAdd(const QString& name);

    std::vector<Interface> m_interfaces;
    int m_nextIndex = 1;
    int m_reads = 0;
};

} // namespace vestrel::platform
