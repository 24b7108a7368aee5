#include "LauncherService.h"

#include "LauncherQt.h"

#include <atomic>

namespace vestrel::platform {

namespace {
std::atomic<LauncherService*> installed = nullptr;
} // namespace

LauncherService& LauncherService::instance()
{
    if (LauncherService* service = installed.load())
        return *service;
    static LauncherQt service;
    return service;
}

void LauncherService::setInstance(LauncherService* service)
{
    installed = service;
}

} // namespace vestrel::platform
