#pragma once

namespace vestrel::cli {

// log export FILE, log import FILE, log stats --by day|month|year|connection [--from] [--to].
void RegisterLogCommands();

} // namespace vestrel::cli
