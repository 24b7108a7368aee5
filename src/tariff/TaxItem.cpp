#include "TaxItem.h"

#include "common/Clock.h"
#include "common/DateFormat.h"
#include "store/PersistentComponent.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TTaxItem::TTaxItem() : m_vestrel(EncodeTime(0, 10, 0))
{
    // Each table starts as one reduced slot over the whole day; a stored table replaces it.
    m_bandsFeriali.Add();
    m_bandsSabato.Add();
    m_bandsFestivi.Add();
}

const store::ClassInfo& TTaxItem::staticClassInfo()
{
    using T = TTaxItem;
    static const store::EnumNames kinds = {"ttTat", "ttScatti"};
    static const store::ClassInfo info =
        store::ClassBuilder<T>("TTaxItem", &store::TDataCollectionItem::staticClassInfo())
            .string("Nome", &T::Nome, &T::SetNome)
            .string("Gestore", &T::Gestore, &T::SetGestore)
            .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
            .enumeration("Tipo", &T::Tipo, &T::SetTipo, kinds)
            .floating("ScattiRidotta", &T::ScattiRidotta, &T::SetScattiRidotta)
            .floating("ScattiIntera", &T::ScattiIntera, &T::SetScattiIntera)
            .floating("ScattiPunta", &T::ScattiPunta, &T::SetScattiPunta)
            .integer("ScattiAllaRisposta", &T::ScattiAllaRisposta, &T::SetScattiAllaRisposta)
            .floating("CostoFissoRidotta", &T::CostoFissoRidotta, &T::SetCostoFissoRidotta)
            .floating("CostoFissoIntera", &T::CostoFissoIntera, &T::SetCostoFissoIntera)
            .floating("CostoFissoPunta", &T::CostoFissoPunta, &T::SetCostoFissoPunta)
            .floating("TatRidotta1", &T::TatRidotta1, &T::SetTatRidotta1)
            .floating("TatRidotta2", &T::TatRidotta2, &T::SetTatRidotta2)
            .floating("TatIntera1", &T::TatIntera1, &T::SetTatIntera1)
            .floating("TatIntera2", &T::TatIntera2, &T::SetTatIntera2)
            .floating("TatPunta1", &T::TatPunta1, &T::SetTatPunta1)
            .floating("TatPunta2", &T::TatPunta2, &T::SetTatPunta2)
            .boolean("FormulaUrbana", &T::FormulaUrbana, &T::SetFormulaUrbana)
            .integer("MinLimite", &T::MinLimite, &T::SetMinLimite)
            .integer("BonusMese", &T::BonusMese, &T::SetBonusMese)
            .integer("BonusDisponibile", &T::BonusDisponibile, &T::SetBonusDisponibile)
            .floating("MeseBonus", &T::MeseBonus, &T::SetMeseBonus)
            .boolean("Compare", &T::Compare, &T::SetCompare)
            .string("RasEntry", &T::RasEntry, &T::SetRasEntry)
            .collection("BandsFeriali", [](T& t) -> TBandItems& { return t.BandsFeriali(); })
            .collection("BandsSabato", [](T& t) -> TBandItems& { return t.BandsSabato(); })
            .collection("BandsFestivi", [](T& t) -> TBandItems& { return t.BandsFestivi(); })
            .string("SkinName", &T::SkinName, &T::SetSkinName)
            .floating("Vestrel", &T::Vestrel, &T::SetVestrel)
            .build();
    return info;
}

bool TTaxItem::loading() const
{
    const store::TDataCollection* collection = Collection();
    const store::TPersistentComponent* owner = collection ? collection->Owner() : nullptr;
    return owner && owner->Loading();
}

void TTaxItem::SetFormulaUrbana(bool v)
{
    if (m_formulaUrbana == v)
        return;
    m_formulaUrbana = v;
    SetModified(true);
    // A file being read only restores the flag: its own prices follow and must stay as stored.
    if (!v || m_tipo != ttTat || loading())
        return;
    SetScattiAllaRisposta(1);
    SetCostoFissoRidotta(120);
    SetCostoFissoIntera(120);
    SetCostoFissoPunta(120);
    SetMinLimite(6);
    SetTatPunta1(36.72);
    SetTatPunta2(18.36);
    SetTatIntera1(36.72);
    SetTatIntera2(18.36);
    SetTatRidotta1(21.24);
    SetTatRidotta2(10.44);
}

void TTaxItem::SetMinLimite(qint32 v)
{
    if (m_minLimite == v)
        return;
    m_minLimite = v;
    SetModified(true);
    m_minLimiteSeconds = v * 60;
}

void TTaxItem::SetVestrel(TDateTime v)
{
    TDateTime time = TimeOf(v);
    // A stored 0 would be left out of the file and come back as the 10-minute default.
    if (time == 0)
        time = OneMillisecond;
    assign(m_vestrel, time);
}

QString TTaxItem::DisplayName() const
{
    return m_gestore + u" - "_s + m_nome;
}

void TTaxItem::UpdateMonthlyBonus()
{
    if (m_bonusMese <= 0)
        return;
    const DateParts stored = DecodeDate(m_meseBonus);
    SetMeseBonus(EncodeDate(stored.year, stored.month, 1));
    const DateParts today = DecodeDate(Now());
    const TDateTime month = EncodeDate(today.year, today.month, 1);
    if (month == m_meseBonus)
        return;
    SetBonusDisponibile(quint32(m_bonusMese));
    SetMeseBonus(month);
}

QString TTaxItem::DescribeBands(const TBandItems& table) const
{
    QString text;
    if (&table == &m_bandsFeriali)
        text = u"Fasce orarie FERIALI\r"_s;
    else if (&table == &m_bandsSabato)
        text = u"Fasce orarie SABATO\r"_s;
    else if (&table == &m_bandsFestivi)
        text = u"Fasce orarie FESTIVI\r"_s;
    for (int i = 0; i < table.Count(); ++i) {
        const TBandItem& slot = *table[i];
        text += u"Fascia "_s + FasciaName(slot.Tipo()) + u" dalle "_s
                + FormatDateTime(u"h.nn.ss"_s, slot.TimeBegin()) + u" alle "_s
                + FormatDateTime(u"h.nn.ss"_s, slot.TimeEnd()) + u'\r';
    }
    return text.trimmed();
}

} // namespace vestrel
