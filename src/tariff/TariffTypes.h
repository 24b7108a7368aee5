#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace vestrel {

// The rate band of a time slot. foNone means no band and is not valid in a slot.
enum TFasciaOraria { foPunta, foIntera, foRidotta, foNone };

// Time-based tariff (prices per minute) or pulse-based tariff (a pulse every N seconds).
enum TTipoTariffa { ttTat, ttScatti };

// The result of every cost computation. Scatti is always 0 for time-based tariffs.
struct TTaxCost {
    double Lire = 0;
    quint32 Scatti = 0;

    TTaxCost& operator+=(const TTaxCost& other)
    {
        Lire += other.Lire;
        Scatti += other.Scatti;
        return *this;
    }
};

// Called with the running Lire total of a connection after every piece that is priced.
using ProgressCallback = std::function<void(double lire)>;

// A colour as the program stores it: 0x00BBGGRR.
using TColor = qint32;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clLime = 0x00FF00;

// "ora di punta", "intera", "ridotta"; any other band raises "Fascia oraria inesistente".
QString FasciaName(TFasciaOraria band);
// Red, yellow, lime; any other band raises "Fascia oraria inesistente".
TColor FasciaColor(TFasciaOraria band);
// The band of one of the three band colours; any other colour raises "Colore fascia inesistente".
TFasciaOraria ColorFascia(TColor color);

} // namespace vestrel
