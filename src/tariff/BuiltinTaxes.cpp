#include "Taxations.h"

#include "common/Clock.h"

#include <optional>
#include <vector>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SlotStart {
    int hour;
    int minute;
    TFasciaOraria band;
};

// Each layout lists the slots after the first one, which is the reduced slot from 00:00.
using Layout = std::vector<SlotStart>;

const Layout WholeDay = {};
const Layout StandardWeekday = {{8, 0, foIntera}, {18, 30, foRidotta}};
const Layout StandardSaturday = {{8, 0, foIntera}, {13, 0, foRidotta}};
const Layout Weekday9to19 = {{9, 0, foIntera}, {19, 0, foRidotta}};
const Layout PeakWeekday21 = {{8, 0, foPunta}, {18, 30, foIntera}, {21, 0, foRidotta}};
const Layout PeakWeekday22 = {{8, 0, foPunta}, {18, 30, foIntera}, {22, 0, foRidotta}};
const Layout Day8to22 = {{8, 0, foIntera}, {22, 0, foRidotta}};

// Sets the end of the default slot and appends the others, each starting where the previous ends.
void reshape(TBandItems& table, const Layout& layout)
{
    if (layout.empty())
        return;
    TBandItem* previous = table[0];
    for (const SlotStart& s : layout) {
        const TDateTime begin = EncodeTime(s.hour, s.minute, 0);
        previous->SetTimeEnd(begin);
        TBandItem* slot = table.Add();
        slot->SetTipo(s.band);
        slot->SetTimeBegin(begin);
        slot->SetTimeEnd(EndOfDay);
        previous = slot;
    }
}

// Lire per minute: reduced, full and peak band, first and second period.
struct Rates {
    double ridotta1, ridotta2, intera1, intera2, punta1, punta2;
};

constexpr Rates single(double ridotta, double intera, double punta)
{
    return {ridotta, ridotta, intera, intera, punta, punta};
}

struct BuiltinTax {
    const char16_t* gestore;
    const char16_t* nome;
    const char16_t* descrizione;
    const Layout& feriali;
    const Layout& sabato;
    const Layout& festivi;
    double costoFisso; // 120 is the new-tariff value
    std::optional<Rates> rates; // none: the new-tariff rates
    int minLimite;
    bool compare;
    void (*extra)(TTaxItem&);
};

void formulaUrbana(TTaxItem& tax)
{
    tax.SetFormulaUrbana(true);
}

void twentyHoursFree(TTaxItem& tax)
{
    tax.SetBonusMese(72000);
    tax.SetBonusDisponibile(72000);
    tax.SetMeseBonus(DateOf(Now()));
}

const std::vector<BuiltinTax>& builtinTaxes()
{
    static const std::vector<BuiltinTax> taxes = {
        {u"Telecom", u"TAT Urbana", u"Urbana a Tempo", StandardWeekday, StandardSaturday, WholeDay,
         120, std::nullopt, 15, true, nullptr},
        {u"Telecom", u"TAT Formula Urbana", u"Urbana Ridotta (Formula Urbana)", StandardWeekday,
         StandardSaturday, WholeDay, 120, std::nullopt, 0, true, formulaUrbana},
        {u"Telecom", u"Teleconomy No Stop", u"Teleconomy No Stop (ISP a scelta)", WholeDay,
         WholeDay, WholeDay, 120, single(18, 18, 18), 0, false, twentyHoursFree},
        {u"Telecom", u"Teleconomy 24 ridotta", u"Teleconomy 24, fascia ridotta tutto il giorno",
         WholeDay, WholeDay, WholeDay, 120, single(21.6, 21.6, 21.6), 0, true, nullptr},
        {u"Telecom", u"Teleconomy 24", u"Teleconomy 24 (ISP a scelta)", StandardWeekday,
         StandardSaturday, WholeDay, 120, single(21.6, 27.6, 27.6), 0, true, nullptr},
        {u"Telecom", u"TAT Distrettuale", u"Distrettuale a Tempo", StandardWeekday,
         StandardSaturday, WholeDay, 120, single(58.8, 97.2, 97.2), 0, true, nullptr},
        {u"Telecom", u"TAT Interdistrettuale 15", u"Interdistrettuale a Tempo fino a 15 km",
         StandardWeekday, StandardSaturday, WholeDay, 120, single(87.6, 145.2, 145.2), 0, true,
         nullptr},
        {u"Telecom", u"TAT Interdistrettuale 15-30", u"Interdistrettuale a Tempo da 15 a 30 km",
         StandardWeekday, StandardSaturday, WholeDay, 120, single(130.8, 217.2, 217.2), 0, true,
         nullptr},
        {u"Telecom", u"TAT Interdistrettuale 30", u"Interdistrettuale a Tempo oltre 30 km",
         StandardWeekday, StandardSaturday, WholeDay, 120, single(174, 290.4, 290.4), 0, true,
         nullptr},
        {u"Infostrada", u"Libero@Sogno prima del 24.10.2000",
         u"Libero@Sogno, condizioni in vigore fino al 23.10.2000", Weekday9to19, WholeDay,
         WholeDay, 0, single(18, 30, 30), 0, false, nullptr},
        {u"Infostrada", u"Libero@Sogno", u"Libero@Sogno (accesso a Internet)", Weekday9to19,
         WholeDay, WholeDay, 0, single(22.8, 34.8, 34.8), 0, false, nullptr},
        {u"Infostrada", u"SpazioZero", u"SpazioZero (nessuno scatto alla risposta)", Day8to22,
         WholeDay, WholeDay, 0, single(15, 27, 27), 0, true, nullptr},
        {u"Infostrada", u"SpazioZero ridotta", u"SpazioZero, fascia ridotta tutto il giorno",
         WholeDay, WholeDay, WholeDay, 0, single(15, 15, 15), 0, true, nullptr},
        {u"Infostrada", u"Locali", u"Chiamate verso località dello stesso distretto",
         PeakWeekday22, Day8to22, Day8to22, 150, single(18, 30, 42), 0, true, nullptr},
        {u"Infostrada", u"Regionali",
         u"Chiamate verso località situate nella stessa regione del chiamante", PeakWeekday22,
         Day8to22, Day8to22, 150, single(60, 114, 210), 0, true, nullptr},
        {u"Infostrada", u"Nazionali", u"Chiamate verso località situate in altre regioni",
         PeakWeekday22, Day8to22, Day8to22, 150, single(90, 174, 288), 0, true, nullptr},
        {u"Infostrada", u"Cellulari", u"Chiamate verso i telefoni cellulari", PeakWeekday21,
         Day8to22, Day8to22, 150, single(390, 690, 750), 0, true, nullptr},
        {u"Wind", u"Urbana", u"Chiamate urbane", StandardWeekday, StandardSaturday, WholeDay,
         152.4, single(19.2, 33.6, 33.6), 0, true, nullptr},
        {u"Wind", u"Urbana 1088 Light",
         u"Urbana con il prefisso 1088, prezzo ridotto dopo i primi 4 minuti", StandardWeekday,
         StandardSaturday, WholeDay, 152.4, Rates{21.6, 14.4, 36, 24, 36, 24}, 4, true, nullptr},
        {u"Wind", u"Internet Light 1088", u"Accesso a Internet con il prefisso 1088", Day8to22,
         WholeDay, WholeDay, 0, single(16.8, 28.8, 28.8), 0, true, nullptr},
        {u"Wind", u"Internet Light 1088 24 Ore",
         u"Accesso a Internet con il prefisso 1088, stesso prezzo 24 ore su 24", WholeDay,
         WholeDay, WholeDay, 0, single(21.6, 21.6, 21.6), 0, true, nullptr},
        {u"Wind", u"Regionale 1088 Light",
         u"Regionale con il prefisso 1088, prezzo ridotto dopo i primi 4 minuti", PeakWeekday21,
         Day8to22, Day8to22, 152.4, Rates{60, 45, 114, 90, 180, 150}, 4, true, nullptr},
        {u"Tele2", u"Urbana", u"Chiamate urbane", Weekday9to19, WholeDay, WholeDay, 120,
         single(18, 30, 30), 0, true, nullptr},
        {u"Flat", u"Gratis", u"Connessione gratuita o a canone fisso", WholeDay, WholeDay,
         WholeDay, 0, single(0, 0, 0), 0, false, nullptr},
    };
    return taxes;
}

} // namespace

void TTaxations::LoadDefaultTaxs()
{
    m_taxs.Clear();
    for (const BuiltinTax& b : builtinTaxes()) {
        TTaxItem* tax = AddTax(QString::fromUtf16(b.gestore), QString::fromUtf16(b.nome), ttTat,
                               QString::fromUtf16(b.descrizione));
        reshape(tax->BandsFeriali(), b.feriali);
        reshape(tax->BandsSabato(), b.sabato);
        reshape(tax->BandsFestivi(), b.festivi);
        tax->SetCostoFissoRidotta(b.costoFisso);
        tax->SetCostoFissoIntera(b.costoFisso);
        tax->SetCostoFissoPunta(b.costoFisso);
        if (b.rates) {
            tax->SetTatRidotta1(b.rates->ridotta1);
            tax->SetTatRidotta2(b.rates->ridotta2);
            tax->SetTatIntera1(b.rates->intera1);
            tax->SetTatIntera2(b.rates->intera2);
            tax->SetTatPunta1(b.rates->punta1);
            tax->SetTatPunta2(b.rates->punta2);
        }
        if (b.minLimite)
            tax->SetMinLimite(b.minLimite);
        tax->SetCompare(b.compare);
        if (b.extra)
            b.extra(*tax);
    }
}

} // namespace vestrel
