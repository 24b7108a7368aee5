#include "ProcessExit.h"

#include <cstdio>
#include <cstdlib>

namespace vestrel {

namespace {
TerminateHook& hook()
{
    static TerminateHook h;
    return h;
}
} // namespace

void TerminateProcess(int exitCode)
{
    if (hook()) {
        hook()(exitCode);
        throw ProcessTerminated{exitCode};
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void SetTerminateHook(TerminateHook h)
{
    hook() = std::move(h);
}

} // namespace vestrel
