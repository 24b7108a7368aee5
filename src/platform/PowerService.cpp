#include "PowerService.h"

#include "LogindPower.h"

#include "common/Dialogs.h"
#include "common/SystemInfo.h"
#include "common/VestrelError.h"

#include <atomic>
#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

std::atomic<PowerService*> installed = nullptr;

std::unique_ptr<PowerService> createDefault()
{
    if (qEnvironmentVariable("VESTREL_POWER") == u"none"_s)
        return std::make_unique<PowerUnavailable>();
    return CreateDefaultPowerService(QDBusConnection::systemBus());
}

} // namespace

QString PowerOffUnavailableText()
{
    return u"Spegnimento non disponibile su questo sistema"_s;
}

PowerService& PowerService::instance()
{
    if (PowerService* service = installed.load())
        return *service;
    // Never destroyed: a D-Bus connection must not be torn down after the application object.
    static PowerService* const fallback = createDefault().release();
    return *fallback;
}

void PowerService::setInstance(PowerService* service)
{
    installed = service;
}

} // namespace vestrel::platform

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

bool ShutdownWindows(bool force)
{
    const platform::PowerOffResult result = platform::PowerService::instance().powerOff(force);
    if (!result.ok)
        ShowErrorBox(withDetail(u"Impossibile chiudere "_s + OSName(), result.message, 1));
    return result.ok;
}

} // namespace vestrel
