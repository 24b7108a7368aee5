#pragma once

#include "BandItem.h"
#include "TariffTypes.h"

#include "common/DateTime.h"
#include "store/DataCollection.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace vestrel {

// One telephone tariff: its prices for the three bands, its band tables for weekdays, Saturdays
// and holidays, a monthly allowance of free seconds and a time limit. The cost operations are
// implemented in CostEngine.cpp.
class TTaxItem : public store::TDataCollectionItem {
public:
    TTaxItem();

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { assign(m_nome, v); }
    QString Gestore() const { return m_gestore; }
    void SetGestore(const QString& v) { assign(m_gestore, v); }
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { assign(m_descrizione, v); }
    TTipoTariffa Tipo() const { return m_tipo; }
    void SetTipo(TTipoTariffa v) { assign(m_tipo, v); }

    double ScattiRidotta() const { return m_scattiRidotta; }
    void SetScattiRidotta(double v) { assign(m_scattiRidotta, v); }
    double ScattiIntera() const { return m_scattiIntera; }
    void SetScattiIntera(double v) { assign(m_scattiIntera, v); }
    double ScattiPunta() const { return m_scattiPunta; }
    void SetScattiPunta(double v) { assign(m_scattiPunta, v); }
    qint32 ScattiAllaRisposta() const { return m_scattiAllaRisposta; }
    void SetScattiAllaRisposta(qint32 v) { assign(m_scattiAllaRisposta, v); }

    double CostoFissoRidotta() const { return m_costoFissoRidotta; }
    void SetCostoFissoRidotta(double v) { assign(m_costoFissoRidotta, v); }
    double CostoFissoIntera() const { return m_costoFissoIntera; }
    void SetCostoFissoIntera(double v) { assign(m_costoFissoIntera, v); }
    double CostoFissoPunta() const { return m_costoFissoPunta; }
    void SetCostoFissoPunta(double v) { assign(m_costoFissoPunta, v); }

    double TatRidotta1() const { return m_tatRidotta1; }
    void SetTatRidotta1(double v) { assign(m_tatRidotta1, v); }
    double TatRidotta2() const { return m_tatRidotta2; }
    void SetTatRidotta2(double v) { assign(m_tatRidotta2, v); }
    double TatIntera1() const { return m_tatIntera1; }
    void SetTatIntera1(double v) { assign(m_tatIntera1, v); }
    double TatIntera2() const { return m_tatIntera2; }
    void SetTatIntera2(double v) { assign(m_tatIntera2, v); }
    double TatPunta1() const { return m_tatPunta1; }
    void SetTatPunta1(double v) { assign(m_tatPunta1, v); }
    double TatPunta2() const { return m_tatPunta2; }
    void SetTatPunta2(double v) { assign(m_tatPunta2, v); }

    bool FormulaUrbana() const { return m_formulaUrbana; }
    // Switching it on for a time-based tariff loads the urban-formula prices.
    void SetFormulaUrbana(bool v);
    qint32 MinLimite() const { return m_minLimite; }
    void SetMinLimite(qint32 v);
    qint32 MinLimiteSeconds() const { return m_minLimiteSeconds; }

    qint32 BonusMese() const { return m_bonusMese; }
    void SetBonusMese(qint32 v) { assign(m_bonusMese, v); }
    quint32 BonusDisponibile() const { return m_bonusDisponibile; }
    void SetBonusDisponibile(quint32 v) { assign(m_bonusDisponibile, v); }
    TDateTime MeseBonus() const { return m_meseBonus; }
    void SetMeseBonus(TDateTime v) { assign(m_meseBonus, v); }
    bool Compare() const { return m_compare; }
    void SetCompare(bool v) { assign(m_compare, v); }
    QString RasEntry() const { return m_rasEntry; }
    void SetRasEntry(const QString& v) { assign(m_rasEntry, v); }

    TBandItems& BandsFeriali() { return m_bandsFeriali; }
    const TBandItems& BandsFeriali() const { return m_bandsFeriali; }
    TBandItems& BandsSabato() { return m_bandsSabato; }
    const TBandItems& BandsSabato() const { return m_bandsSabato; }
    TBandItems& BandsFestivi() { return m_bandsFestivi; }
    const TBandItems& BandsFestivi() const { return m_bandsFestivi; }

    QString SkinName() const { return m_skinName; }
    void SetSkinName(const QString& v) { assign(m_skinName, v); }
    // The time limit: only the time of day is kept, and 0 becomes 1 ms (no limit).
    TDateTime Vestrel() const { return m_vestrel; }
    void SetVestrel(TDateTime v);

    // The tariff's open properties window, if any.
    QObject* Editor() const { return m_editor; }
    void SetEditor(QObject* editor) { m_editor = editor; }

    // Gestore + " - " + Nome: the key by which other stores refer to the tariff.
    QString DisplayName() const;
    // Refills the free seconds when the clock is in another month than MeseBonus.
    void UpdateMonthlyBonus();
    // The slots of one of the three tables as text, one per line, under its heading.
    QString DescribeBands(const TBandItems& table) const;

    // Cost operations.
    bool IsTat() const { return m_tipo == ttTat; }
    bool HasMinLimite() const { return m_minLimite > 0; }
    const TBandItems& BandsOfDay(TDateTime date) const;
    const TBandItem& BandAt(TDateTime moment) const;
    TFasciaOraria FasciaAt(TDateTime moment) const;
    TFasciaOraria FasciaNow() const;
    double SecondsPerScatto(TFasciaOraria band) const;
    double SecondsPerScattoNow() const;
    double CostPerScatto(TFasciaOraria band) const;
    TTaxCost AnswerCost(TDateTime moment) const;
    // A piece of a connection inside one slot; `remainder` carries the seconds towards the next
    // pulse from one piece to the next.
    TTaxCost SegmentCost(TFasciaOraria band, TDateTime pieceEnd, TDateTime pieceStart,
                         TDateTime connectionStart, quint32& remainder) const;
    double TatCost(TFasciaOraria band, qint64 before, qint64 secs) const;
    TTaxCost ScattiCost(TFasciaOraria band, qint64 secs, quint32& remainder) const;
    // The part of a connection inside one calendar day, walking the slots.
    TTaxCost DayCost(TDateTime end, TDateTime start, TDateTime connectionStart, quint32& remainder,
                     bool processEvents = false, const ProgressCallback& progress = {}) const;
    // A whole connection, answer charge included. A progress callback implies processEvents.
    TTaxCost IntervalCost(TDateTime start, TDateTime end, bool processEvents = false,
                          const ProgressCallback& progress = {}) const;

private:
    bool loading() const;
    // The engine's own steps, on whole days and milliseconds of the day (CostEngine.cpp).
    const TBandItems& tableOfDay(qint64 day) const;
    TTaxCost answerIn(const TBandItems& table, qint64 msOfDay) const;
    TTaxCost pieceCost(TFasciaOraria band, qint64 before, qint64 secs, quint32& remainder) const;
    // DayCost from startMs to endMs of `day`; progress reports `lireBefore` plus the day's total.
    TTaxCost costInDay(const TBandItems& table, qint64 day, qint64 startMs, qint64 endMs,
                       qint64 connectionStart, quint32& remainder, bool processEvents,
                       const ProgressCallback& progress, double lireBefore) const;

    QString m_nome;
    QString m_gestore;
    QString m_descrizione;
    TTipoTariffa m_tipo = ttTat;
    double m_scattiRidotta = 0;
    double m_scattiIntera = 0;
    double m_scattiPunta = 0;
    qint32 m_scattiAllaRisposta = 0;
    double m_costoFissoRidotta = 0;
    double m_costoFissoIntera = 0;
    double m_costoFissoPunta = 0;
    double m_tatRidotta1 = 0;
    double m_tatRidotta2 = 0;
    double m_tatIntera1 = 0;
    double m_tatIntera2 = 0;
    double m_tatPunta1 = 0;
    double m_tatPunta2 = 0;
    bool m_formulaUrbana = false;
    qint32 m_minLimite = 0;
    qint32 m_minLimiteSeconds = 0;
    qint32 m_bonusMese = 0;
    quint32 m_bonusDisponibile = 0;
    TDateTime m_meseBonus = 0;
    bool m_compare = false;
    QString m_rasEntry;
    TBandItems m_bandsFeriali{this};
    TBandItems m_bandsSabato{this};
    TBandItems m_bandsFestivi{this};
    QString m_skinName;
    TDateTime m_vestrel;
    QPointer<QObject> m_editor;
};

} // namespace vestrel
