#include "ServiceStores.h"

#include "WaveSounds.h"

#include "store/StoreRegistry.h"

#include <memory>

namespace vestrel {

void RegisterServiceStores()
{
    store::StoreRegistry::Register("TWaveSounds", [] { return std::make_unique<TWaveSounds>(); });
}

} // namespace vestrel
