// Any text given as a simulation script ends in a parsed script or a clean error.

#include "cli/SimulationScript.h"

#include "common/VestrelError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        (void)vestrel::cli::SimulationScript::Parse(
            QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const vestrel::VestrelError&) {
    }
    return 0;
}
