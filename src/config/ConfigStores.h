#pragma once

namespace vestrel {

// Makes the configuration's stores known to the store registry (vestrel-cli resave).
void RegisterConfigStores();

} // namespace vestrel
