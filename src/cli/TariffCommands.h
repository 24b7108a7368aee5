#pragma once

namespace vestrel::cli {

// tariffs, price, compare, day.
void RegisterTariffCommands();

} // namespace vestrel::cli
