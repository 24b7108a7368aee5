#include "TariffTypes.h"

#include "common/VestrelError.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {
[[noreturn]] void noSuchBand()
{
    throw VestrelError(u"Fascia oraria inesistente"_s);
}
} // namespace

QString FasciaName(TFasciaOraria band)
{
    switch (band) {
    case foPunta:
        return u"ora di punta"_s;
    case foIntera:
        return u"intera"_s;
    case foRidotta:
        return u"ridotta"_s;
    default:
        noSuchBand();
    }
}

TColor FasciaColor(TFasciaOraria band)
{
    switch (band) {
    case foPunta:
        return clRed;
    case foIntera:
        return clYellow;
    case foRidotta:
        return clLime;
    default:
        noSuchBand();
    }
}

TFasciaOraria ColorFascia(TColor color)
{
    switch (color) {
    case clRed:
        return foPunta;
    case clYellow:
        return foIntera;
    case clLime:
        return foRidotta;
    default:
        throw VestrelError(u"Colore fascia inesistente"_s);
    }
}

} // namespace vestrel
