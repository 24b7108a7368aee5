#pragma once

#include "TrafficService.h"

namespace vestrel::platform {

// Counters from /sys/class/net/IFACE/statistics. Dial-up interfaces are those of the PPP link
// type and those the kernel marks as wwan devices.
class TrafficSysfs final : public TrafficService {
public:
    // Tests point the backend at a folder laid out like /sys/class/net.
    explicit TrafficSysfs(QString root = QStringLiteral("/sys/class/net"));

    QStringList dialUpInterfaces() override;
    TrafficReading read(const QString& interfaceName) override;
    QString description() const override;

private:
    QString m_root;
};

} // namespace vestrel::platform
