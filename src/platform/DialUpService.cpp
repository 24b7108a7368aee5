#include "DialUpService.h"

#include "SimulatedDialUp.h"

#include <QtGlobal>

#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

DialUpService* installed = nullptr;

// Only the simulated backend exists so far; VESTREL_DIALUP=simulated asks for it by name.
DialUpService& defaultService()
{
    static const std::unique_ptr<DialUpService> service = [] {
        const QString forced = qEnvironmentVariable("VESTREL_DIALUP").trimmed().toLower();
        if (!forced.isEmpty() && forced != u"simulated"_s)
            qWarning("VESTREL_DIALUP: unknown backend \"%s\", using the simulated one",
                     qPrintable(forced));
        return std::make_unique<SimulatedDialUp>();
    }();
    return *service;
}

} // namespace

QString DialUpService::errorText(DialUpCode code) const
{
    if (code == DialUpUnavailable)
        return u"Il servizio di accesso remoto non è disponibile"_s;
    return StandardDialUpErrorText(code);
}

DialUpResult<DialUpEntryProperties> DialUpService::entryProperties(const QString&)
{
    return {DialUpUnavailable, {}};
}

DialUpResult<std::vector<DialUpConnection>> DialUpService::connections()
{
    return {DialUpUnavailable, {}};
}

DialUpResult<qint32> DialUpService::connectionState(DialUpHandle)
{
    return {DialUpUnavailable, {}};
}

DialUpResult<QString> DialUpService::ipAddress(DialUpHandle)
{
    return {DialUpUnavailable, {}};
}

DialUpResult<DialUpHandle> DialUpService::dial(const QString&, const QString&, const QString&,
                                               DialUpProgress)
{
    return {DialUpUnavailable, 0};
}

DialUpCode DialUpService::hangUp(DialUpHandle)
{
    return DialUpUnavailable;
}

bool DialUpService::isEntry(const QString& name)
{
    const DialUpResult<QStringList> list = entries();
    return list.ok() && list.value.contains(name);
}

DialUpService& DialUpService::instance()
{
    return installed ? *installed : defaultService();
}

void DialUpService::setInstance(DialUpService* service)
{
    installed = service;
}

} // namespace vestrel::platform
