#pragma once

namespace vestrel {

// Makes the services' store classes known to the store registry (vestrel-cli resave).
void RegisterServiceStores();

} // namespace vestrel
