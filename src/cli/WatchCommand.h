#pragma once

namespace vestrel::cli {

// watch [--simulate SCRIPT] [--answer yes|no]
void RegisterWatchCommand();

} // namespace vestrel::cli
