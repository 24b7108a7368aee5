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
    switch (code) {
    case DialUpUnavailable:
        return u"Il servizio di accesso remoto non è disponibile"_s;
    case DialUpNoEntry:
        return u"Impossibile trovare la voce della rubrica"_s;
    default:
        return {};
    }
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
