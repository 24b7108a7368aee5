#include "TrafficService.h"

#include "TrafficSimulated.h"
#include "TrafficSysfs.h"

#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

TrafficService* installed = nullptr;

TrafficService& defaultService()
{
    static const std::unique_ptr<TrafficService> service = []() -> std::unique_ptr<TrafficService> {
        const QString forced = qEnvironmentVariable("VESTREL_TRAFFIC").trimmed().toLower();
        if (forced == u"simulated"_s)
            return std::make_unique<TrafficSimulated>();
        if (!forced.isEmpty() && forced != u"sysfs"_s)
            qWarning("VESTREL_TRAFFIC: unknown backend \"%s\", using sysfs", qPrintable(forced));
        // Tests and demonstrations lay out a folder like /sys/class/net of their own.
        const QString root = qEnvironmentVariable("VESTREL_SYSFS_NET");
        return root.isEmpty() ? std::make_unique<TrafficSysfs>() : std::make_unique<TrafficSysfs>(root);
    }();
    return *service;
}

} // namespace

TrafficService& TrafficService::instance()
{
    return installed ? *installed : defaultService();
}

void TrafficService::setInstance(TrafficService* service)
{
    installed = service;
}

} // namespace vestrel::platform
