#pragma once

namespace vestrel {

// Makes the tariff module's store classes known to the store registry (vestrel-cli resave).
void RegisterTariffStores();

} // namespace vestrel
