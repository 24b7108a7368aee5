#include "StatusFixture.h"

#include "common/Dates.h"

#include <QFile>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class Status : public StatusFixture {
protected:
    // Elapsed second at which each new period begins (Remaining jumps back up).
    std::vector<qint64> periodStarts(int count)
    {
        std::vector<qint64> starts;
        seconds(1); // the first second fills Remaining in
        quint32 last = status.Remaining();
        for (int i = 1; i < count; ++i) {
            seconds(1);
            if (status.Remaining() > last)
                starts.push_back(status.Elapsed());
            last = status.Remaining();
        }
        return starts;
    }

    // A pulse tariff with one full band all day, `secondsPerPulse` a pulse, 127 Lire a pulse.
    TTaxItem* pulseTariff(double secondsPerPulse, quint32 freeSeconds = 0)
    {
        TTaxItem* t = taxations.AddTax(u"Prova"_s, u"Impulsi"_s, ttScatti, {});
        t->SetScattiIntera(secondsPerPulse);
        t->SetCostoFissoIntera(127);
        t->SetScattiAllaRisposta(1);
        for (TBandItems* table : {&t->BandsFeriali(), &t->BandsSabato(), &t->BandsFestivi()})
            SetTable(*table, {{0, 0, foIntera}});
        if (freeSeconds) {
            t->SetBonusMese(int(freeSeconds));
            t->SetMeseBonus(EncodeDate(2001, 3, 1));
            t->SetBonusDisponibile(freeSeconds);
        }
        return t;
    }
};

} // namespace

TEST_F(Status, ManualCountIsPricedEverySecondAndLoggedAsAvvioManuale)
{
    bindStatus();
    status.SetTax(tax(u"Telecom - TAT Urbana"_s));
    status.SetEntryName(ManualStartKey());
    SendMtxEvent(TMtxEvent::ManualStart);
    seconds(20 * 60);
    EXPECT_NEAR(status.CostoLire(), 836.4, 1e-9);
    SendMtxEvent(TMtxEvent::ManualStop);

    ASSERT_EQ(log.Units().Count(), 1);
    const auto* record = log.Units()[0];
    EXPECT_EQ(record->N(), u"Avvio manuale"_s);
    EXPECT_EQ(record->I(), EncodeDateTime(2001, 3, 14, 10, 0, 0));
    EXPECT_EQ(SecondsOf(record->F() - record->I()), 1200);
    EXPECT_NEAR(record->L(), 836.4, 1e-9);
    EXPECT_FALSE(status.HasStartTick());
    EXPECT_EQ(status.StartTime(), 0.0);
}

TEST_F(Status, PulsePeriodsCarryTheirFraction)
{
    bindStatus();
    status.SetTax(pulseTariff(96.5));
    SendMtxEvent(TMtxEvent::ManualStart);
    const std::vector<qint64> starts = periodStarts(500);
    ASSERT_GE(starts.size(), 5u);
    std::vector<qint64> lengths;
    qint64 previous = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        lengths.push_back(starts[i] - previous);
        previous = starts[i];
    }
    EXPECT_EQ(lengths, (std::vector<qint64>{96, 96, 97, 96, 97}));
}

TEST_F(Status, TimeLimitOfTheTariffRunsDownAndBeepsAtTheEnd)
{
    bindStatus();
    TTaxItem* urbana = tax(u"Telecom - TAT Urbana"_s);
    urbana->SetVestrel(EncodeTime(0, 10, 0));
    status.Profile()->SetAutoDisconnect(false);
    status.Profile()->SetSoundsEnabled(true);
    status.SetTax(urbana);
    SendMtxEvent(TMtxEvent::ManualStart);
    seconds(1);
    EXPECT_EQ(status.Remaining(), 599u);
    seconds(598);
    EXPECT_EQ(status.Remaining(), 1u);
    const int beepsBefore = sounds.beeps;
    seconds(1);
    EXPECT_EQ(sounds.beeps, beepsBefore + 1);
    EXPECT_EQ(status.Remaining(), 600u);

    sounds.disabled.append(u"Ring"_s); // no beep when the ring sound is off
    seconds(600);
    EXPECT_EQ(sounds.beeps, beepsBefore + 1);
}

TEST_F(Status, DialAllowanceKeepsTheChargeAtZeroUntilItHasRunOut)
{
    bindStatus();
    settings.SetDialTimeTAPI(30);
    status.SetTax(tax(u"Telecom - TAT Urbana"_s));
    SendMtxEvent(TMtxEvent::RasDialing);
    seconds(1);
    EXPECT_EQ(status.Elapsed(), -29);
    seconds(29);
    EXPECT_EQ(status.Elapsed(), 0);
    EXPECT_EQ(status.CostoLire(), 0.0);
    SendMtxEvent(TMtxEvent::RasConnected);
    seconds(1);
    EXPECT_EQ(status.Elapsed(), 1);
    EXPECT_GT(status.CostoLire(), 0.0);
}

TEST_F(Status, FreeSecondsRunDownBeforeAnyPulseIsCharged)
{
    bindStatus();
    TTaxItem* t = pulseTariff(60, 100);
    status.SetTax(t);
    SendMtxEvent(TMtxEvent::ManualStart);
    seconds(1);
    EXPECT_EQ(t->BonusDisponibile(), 99u);
    seconds(98);
    EXPECT_EQ(t->BonusDisponibile(), 1u);
    EXPECT_EQ(status.NumScatti(), 0); // not even the answer pulse while free seconds remain
    seconds(1);
    EXPECT_EQ(t->BonusDisponibile(), 0u);
    seconds(1);
    EXPECT_GT(status.NumScatti(), 1); // the whole connection priced from its start, answer too
}

TEST_F(Status, ChangingTariffRepricesAndGivesTheFreeSecondsBack)
{
    bindStatus();
    TTaxItem* bonus = pulseTariff(60, 300);
    status.SetTax(bonus);
    SendMtxEvent(TMtxEvent::ManualStart);
    seconds(120);
    EXPECT_EQ(bonus->BonusDisponibile(), 180u);
    TTaxItem* urbana = tax(u"Telecom - TAT Urbana"_s);
    status.SetTax(urbana);
    EXPECT_EQ(bonus->BonusDisponibile(), 300u);
    EXPECT_NEAR(status.CostoLire(), urbana->IntervalCost(status.StartTime(), status.EndTime()).Lire, 1e-9);
    EXPECT_EQ(status.DefaultTax(), u"Telecom - TAT Urbana"_s);
}

TEST_F(Status, ConnectionThatNeverCameOnlineIsLoggedAsRasError)
{
    bindStatus();
    status.SetTax(tax(u"Telecom - TAT Urbana"_s));
    status.SetEntryName(u"Casa"_s);
    SendMtxEvent(TMtxEvent::RasConnecting);
    seconds(5);
    SendMtxEvent(TMtxEvent::RasIdle);
    ASSERT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(log.Units()[0]->N(), u"Errore RAS - Casa"_s);
}

TEST_F(Status, DialFailureWithNothingChargedAtAnswerAsksNothing)
{
    bindStatus();
    settings.SetAskRespondingCall(true);
    TTaxItem* free = taxations.AddTax(u"Prova"_s, u"Zero"_s, ttTat, {});
    free->SetScattiAllaRisposta(0);
    free->SetCostoFissoIntera(0);
    free->SetCostoFissoRidotta(0);
    free->SetCostoFissoPunta(0);
    status.SetTax(free);
    SendMtxEvent(TMtxEvent::RasDialing);
    seconds(3);
    status.SetLastRasFailure(678, 0);
    status.ResolveRasFailure();
    EXPECT_TRUE(machine.State() == TMtxState::Idle);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Status, UnsavedConnectionIsOfferedOnceAtTheNextStart)
{
    {
        TStatus crashed(&settings);
        crashed.SetFileName(dir.filePath(u"Status.dat"_s));
        crashed.SetEntryName(u"Casa"_s);
        crashed.SetStartTime(EncodeDateTime(2001, 3, 13, 21, 5, 0));
        crashed.SetTime(EncodeTime(0, 42, 10));
        crashed.SetCostoLire(1500.9);
        crashed.Save();
        // A power cut: the process ends here, nothing is reset.
        QFile::copy(dir.filePath(u"Status.dat"_s), dir.filePath(u"saved"_s));
    }
    QFile::remove(dir.filePath(u"Status.dat"_s));
    QFile::rename(dir.filePath(u"saved"_s), dir.filePath(u"Status.dat"_s));

    dialogs.setNextAnswer(DialogAnswer::Yes);
    bindStatus();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Attenzione: la connessione «Casa» di martedì 13 marzo 2001 delle 21:05\r"
              u"non è stata salvata probabilmente per un blocco del sistema @#@##!\r"
              u"Linux sei grande!\r\r«Sì» per aggiungere la connessione\r«No» per ignorarla "
              u"(non sarà visualizzata nelle statistiche)\r\r[Durata: 42 min 10 sec spesa: 1500 lire]"_s);
    ASSERT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(log.Units()[0]->N(), u"Casa"_s);
    EXPECT_EQ(status.StartTime(), 0.0);

    TStatus again(&settings);
    again.SetFileName(dir.filePath(u"Status.dat"_s));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(Status, EntryNameSetsTheEntrysTariffOrAsksForOne)
{
    bindStatus();
    int needed = 0;
    status.OnTaxNeeded = [&](TStatus*) { ++needed; };
    settings.Entrys().AssignTax(u"Lavoro"_s, u"Wind - Urbana"_s);
    status.SetEntryName(u"Lavoro"_s);
    ASSERT_NE(status.Tax(), nullptr);
    EXPECT_EQ(status.Tax()->DisplayName(), u"Wind - Urbana"_s);
    EXPECT_EQ(notices.shown.back().text,
              u"Imposto la tariffa Wind - Urbana associata alla connessione Lavoro"_s);
    status.SetEntryName(ManualStartKey());
    EXPECT_EQ(status.EntryName(), u"Avvio manuale"_s);
    EXPECT_EQ(needed, 1);
}

TEST_F(Status, WarningBeforeThePulseOncePerPeriodOrEverySecondWhenPetulant)
{
    bindStatus();
    status.Profile()->SetSoundsEnabled(true);
    status.Profile()->SetPreavviso(true);
    status.SetTax(pulseTariff(60));
    SendMtxEvent(TMtxEvent::ManualStart);
    seconds(44);
    const int before = sounds.beeps;
    seconds(15); // Remaining 15 … 1
    EXPECT_EQ(sounds.beeps, before + 1);

    status.Profile()->SetPetulante(true);
    seconds(46);
    const int petulantBefore = sounds.beeps;
    seconds(10);
    EXPECT_EQ(sounds.beeps, petulantBefore + 10);
}
