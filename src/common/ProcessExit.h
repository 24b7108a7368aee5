#pragma once

#include <functional>

namespace vestrel {

// Thrown after the terminate hook returns (only test hooks do), so the caller never goes on.
struct ProcessTerminated {
    int exitCode;
};

using TerminateHook = std::function<void(int exitCode)>;

// Ends the process at once, without saving any store or running further clean-up.
[[noreturn]] void TerminateProcess(int exitCode = 0);

// Tests replace the ending of the process; an empty hook restores it.
void SetTerminateHook(TerminateHook hook);

} // namespace vestrel
