#pragma once

#include <QString>
#include <QStringList>

namespace vestrel::platform {

// Byte counters of one network interface since it was created.
struct TrafficReading {
    enum class Status {
        Ok,
        // The interface does not exist (not yet, or no longer): not an error.
        Missing,
        // It exists but its counters cannot be read; `error` says why.
        Failed,
    };
    Status status = Status::Missing;
    // Tells a recreated interface of the same name from the old one.
    int ifIndex = 0;
    quint64 bytesSent = 0;
    quint64 bytesReceived = 0;
    QString error;
};

// The traffic counters of the machine's dial-up and mobile-broadband interfaces.
class TrafficService {
public:
    virtual ~TrafficService() = default;

    // The point-to-point interfaces present now (ppp, wwan), oldest first.
    virtual QStringList dialUpInterfaces() = 0;
    virtual TrafficReading read(const QString& interfaceName) = 0;
    // Where the counters come from, as one line for the user.
    virtual QString description() const = 0;

    // The one installed last, else the backend VESTREL_TRAFFIC names ("simulated", "sysfs"),
    // else the sysfs one (reading the folder VESTREL_SYSFS_NET names instead of /sys/class/net
    // when it is set).
    static TrafficService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(TrafficService* service);
};

} // namespace vestrel::platform
