#include "ResourcesService.h"

#include "ResourcesSimulated.h"

#include <QByteArrayList>
#include <QFile>

#include <algorithm>
#include <map>
#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

ResourcesService* installed = nullptr;

ResourcesService& defaultService()
{
    static const std::unique_ptr<ResourcesService> service = []() -> std::unique_ptr<ResourcesService> {
        if (qEnvironmentVariable("VESTREL_RESOURCES").trimmed().toLower() == u"simulated"_s)
            return std::make_unique<ResourcesSimulated>();
        return std::make_unique<ResourcesMeminfo>();
    }();
    return *service;
}

} // namespace

ResourcesService& ResourcesService::instance()
{
    return installed ? *installed : defaultService();
}

void ResourcesService::setInstance(ResourcesService* service)
{
    installed = service;
}

ResourcesMeminfo::ResourcesMeminfo(QString file) : m_file(std::move(file)) {}

std::optional<int> ResourcesMeminfo::availablePercent()
{
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return AvailablePercentOfMeminfo(file.read(64 * 1024));
}

std::optional<int> AvailablePercentOfMeminfo(const QByteArray& text)
{
    // Lines read "Name:   12345 kB".
    std::map<QByteArray, quint64> values;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArrayList fields = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const quint64 value = fields.value(0).toULongLong(&ok);
        if (ok)
            values[line.left(colon)] = value;
    }
    const auto total = values.find(QByteArrayLiteral("MemTotal"));
    if (total == values.end() || total->second == 0)
        return std::nullopt;

    quint64 available = 0;
    if (const auto it = values.find(QByteArrayLiteral("MemAvailable")); it != values.end()) {
        available = it->second;
    } else {
        const auto free = values.find(QByteArrayLiteral("MemFree"));
        if (free == values.end())
            return std::nullopt;
        available = free->second;
        for (const char* name : {"Buffers", "Cached"})
            if (const auto part = values.find(QByteArray(name)); part != values.end())
                available += part->second;
    }
    return int(std::min<quint64>(available, total->second) * 100 / total->second);
}

} // namespace vestrel::platform
