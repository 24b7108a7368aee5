#include "ConfigStores.h"

#include "Settings.h"

#include "store/StoreRegistry.h"

namespace vestrel {

void RegisterConfigStores()
{
    store::StoreRegistry::Register("TSettings", [] { return std::make_unique<TSettings>(); });
}

} // namespace vestrel
