#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vestrel::platform {

// How much of the machine's memory is still available, the measure behind the program's
// "system resources" check.
class ResourcesService {
public:
    virtual ~ResourcesService() = default;

    // 0..100, or nothing when this machine does not tell.
    virtual std::optional<int> availablePercent() = 0;

    // The one installed last, else /proc/meminfo (or the simulated backend when VESTREL_RESOURCES
    // is "simulated").
    static ResourcesService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(ResourcesService* service);
};

// Reads MemAvailable against MemTotal from a meminfo file.
class ResourcesMeminfo final : public ResourcesService {
public:
    explicit ResourcesMeminfo(QString file = QStringLiteral("/proc/meminfo"));
    std::optional<int> availablePercent() override;

private:
    QString m_file;
};

// The share for a meminfo text: MemAvailable, or on kernels without it MemFree + Buffers +
// Cached, against MemTotal, truncated; nothing when the text lacks them.
std::optional<int> AvailablePercentOfMeminfo(const QByteArray& text);

} // namespace vestrel::platform
