#pragma once

#include "support/QStringPrinter.h"
#include "tariff/Taxations.h"

#include "common/DateTime.h"
#include "common/VestrelError.h"

#include <QString>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

// A slot starting at hour:minute; it runs to the next slot's start, the last one to EndOfDay.
struct SlotFrom {
    int hour;
    int minute;
    TFasciaOraria band;
};

inline void SetTable(TBandItems& table, std::initializer_list<SlotFrom> slots)
{
    while (table.Count() > 0)
        table.Delete(0);
    for (const SlotFrom& s : slots) {
        const TDateTime begin = EncodeTime(s.hour, s.minute, 0);
        if (table.Count() > 0)
            table[table.Count() - 1]->SetTimeEnd(begin);
        TBandItem* slot = table.Add();
        slot->SetTipo(s.band);
        slot->SetTimeBegin(begin);
        slot->SetTimeEnd(EndOfDay);
    }
}

// 00:00–08:00 reduced, 08:00–18:30 full, 18:30–EndOfDay reduced.
inline void SetStandardWeekday(TBandItems& table)
{
    SetTable(table, {{0, 0, foRidotta}, {8, 0, foIntera}, {18, 30, foRidotta}});
}

// The pulse tariff of the examples: 1 pulse at answer, 127 Lire a pulse, 220 s full, 400 s
// reduced, standard weekday table.
inline TTaxItem* AddPulseTariff(TTaxations& store)
{
    TTaxItem* tax = store.AddTax(u"Prova"_s, u"Scatti"_s, ttScatti, {});
    tax->SetCostoFissoRidotta(127);
    tax->SetCostoFissoIntera(127);
    tax->SetCostoFissoPunta(127);
    tax->SetScattiIntera(220);
    tax->SetScattiRidotta(400);
    SetStandardWeekday(tax->BandsFeriali());
    return tax;
}

inline TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                    int msec = 0)
{
    return EncodeDateTime(year, month, day, hour, minute, second, msec);
}

// The message of the VestrelError that `f` raises, or "(nothing raised)".
template <class F>
QString ErrorOf(F&& f)
{
    try {
        f();
    } catch (const VestrelError& e) {
        return e.message();
    }
    return u"(nothing raised)"_s;
}

} // namespace vestrel::testing
