#include "PowerService.h"

#include "common/Dialogs.h"
#include "common/SystemInfo.h"
#include "common/VestrelError.h"

#include <atomic>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

// Until a real backend exists the answer is an honest refusal, never a pretended shutdown.
class PowerUnavailable final : public PowerService {
public:
    PowerOffResult powerOff(bool) override { return {false, PowerOffUnavailableText()}; }
};

std::atomic<PowerService*> installed = nullptr;

} // namespace

QString PowerOffUnavailableText()
{
    return u"Spegnimento non disponibile su questo sistema"_s;
}

PowerService& PowerService::instance()
{
    if (PowerService* service = installed.load())
        return *service;
    static PowerUnavailable service;
    return service;
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
