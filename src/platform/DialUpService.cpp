#include "DialUpService.h"

#include "NetworkManagerDialUp.h"

#include <QtGlobal>

#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

DialUpService* installed = nullptr;

// Chosen once, on first use: VESTREL_DIALUP forces a backend, else the one the system offers.
DialUpService& defaultService()
{
    static const std::unique_ptr<DialUpService> service =
        CreateDefaultDialUpService(QDBusConnection::systemBus());
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

DialUpResult<QString> DialUpService::interfaceName(DialUpHandle)
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
