#include "TariffStores.h"

#include "Agenda.h"
#include "Taxations.h"

#include "store/StoreRegistry.h"

#include <memory>

namespace vestrel {

void RegisterTariffStores()
{
    store::StoreRegistry::Register("TTaxations", [] { return std::make_unique<TTaxations>(); });
    store::StoreRegistry::Register("TAgenda", [] { return std::make_unique<TAgenda>(); });
}

} // namespace vestrel
