#include "TariffFixtures.h"

#include "support/FakeClock.h"
#include "common/Dates.h"
#include "tariff/CostEngine.h"
#include "tariff/HolidayCalendar.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdint>
#include <vector>

namespace vestrel::testing {
namespace {

class CostEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.LoadDefaultTaxs();
        urbana = store.FindTax(u"Telecom - TAT Urbana"_s);
        noStop = store.FindTax(u"Telecom - Teleconomy No Stop"_s);
        ASSERT_TRUE(urbana && noStop);
        pulse = AddPulseTariff(store);

        // One band per kind of day, priced 1, 2 and 3 Lire a second, no answer charge.
        days = store.AddTax(u"Prova"_s, u"Giorni"_s, ttTat, {});
        SetTable(days->BandsFeriali(), {{0, 0, foIntera}});
        SetTable(days->BandsSabato(), {{0, 0, foPunta}});
        SetTable(days->BandsFestivi(), {{0, 0, foRidotta}});
        days->SetCostoFissoRidotta(0);
        days->SetCostoFissoIntera(0);
        days->SetCostoFissoPunta(0);
        days->SetTatRidotta1(60);
        days->SetTatIntera1(120);
        days->SetTatPunta1(180);
    }

public:
    TTaxations store;
    TTaxItem* urbana = nullptr;
    TTaxItem* noStop = nullptr;
    TTaxItem* pulse = nullptr;
    TTaxItem* days = nullptr;
};

// Wednesday 13 March 2024.
TDateTime Wed(int hour, int minute, int second = 0, int msec = 0)
{
    return At(2024, 3, 13, hour, minute, second, msec);
}
TDateTime Thu(int hour, int minute)
{
    return At(2024, 3, 14, hour, minute);
}

struct PriceCase {
    const char* name;
    TTaxItem* CostEngine::*tax;
    quint32 bonus;
    TDateTime start;
    TDateTime end;
    double lire;
    quint32 scatti;
};

TEST_F(CostEngine, PricesWholeConnections)
{
    ASSERT_EQ(DayOfWeek(Wed(0, 0)), 4);
    const std::vector<PriceCase> cases = {
        {"tat full band past the first period", &CostEngine::urbana, 0, Wed(10, 0), Wed(10, 20), 836.4, 0},
        {"tat band change inside the first period", &CostEngine::urbana, 0, Wed(18, 20), Wed(18, 40), 688.8, 0},
        {"tat exactly the first period", &CostEngine::urbana, 0, Wed(10, 0), Wed(10, 15), 670.8, 0},
        {"tat one second past the first period", &CostEngine::urbana, 0, Wed(10, 0), Wed(10, 15, 1), 670.8 + 33.12 / 60, 0},
        {"tat free seconds count towards the first period", &CostEngine::urbana, 600, Wed(10, 0), Wed(10, 20), 183.6 + 165.6, 0},
        {"tat free seconds cover the connection", &CostEngine::urbana, 72000, Wed(10, 0), Wed(12, 0), 0, 0},
        {"tat same moment costs the answer", &CostEngine::urbana, 0, Wed(10, 0), Wed(10, 0), 120, 0},
        {"milliseconds are dropped", &CostEngine::urbana, 0, Wed(10, 0, 0, 900), Wed(10, 0, 0, 100), 120, 0},
        {"free seconds example", &CostEngine::noStop, 600, Wed(10, 0), Wed(10, 15), 90, 0},
        {"pulse full band", &CostEngine::pulse, 0, Wed(10, 0), Wed(10, 10), 381, 3},
        {"pulse remainder carried across a band change", &CostEngine::pulse, 0, Wed(18, 25), Wed(18, 35), 254, 2},
        {"pulse remainder carried across midnight", &CostEngine::pulse, 0, Wed(23, 50), Thu(0, 10), 508, 4},
        {"pulse across a whole day", &CostEngine::pulse, 0, Wed(23, 50), At(2024, 3, 15, 0, 10), 297 * 127, 297},
        {"pulse ending on a slot boundary", &CostEngine::pulse, 0, Wed(18, 26, 20), Wed(18, 30), 254, 2},
        {"pulse free seconds cover the connection", &CostEngine::pulse, 10000, Wed(10, 0), Wed(10, 10), 0, 0},
        {"friday into saturday", &CostEngine::days, 0, At(2024, 3, 15, 23, 55), At(2024, 3, 16, 0, 5), 600 + 900, 0},
        {"new year's eve into a holiday", &CostEngine::days, 0, At(2024, 12, 31, 23, 55), At(2025, 1, 1, 0, 5), 600 + 300, 0},
        {"easter monday out of the holiday", &CostEngine::days, 0, At(2024, 4, 1, 23, 55), At(2024, 4, 2, 0, 5), 300 + 600, 0},
        {"holiday on a saturday", &CostEngine::days, 0, At(2021, 12, 24, 23, 55), At(2021, 12, 25, 0, 5), 600 + 300, 0},
    };
    for (const PriceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTaxItem* tax = this->*c.tax;
        tax->SetBonusDisponibile(c.bonus);
        const TTaxCost cost = tax->IntervalCost(c.start, c.end);
        EXPECT_NEAR(cost.Lire, c.lire, 1e-9);
        EXPECT_EQ(cost.Scatti, c.scatti);
    }
}

TEST_F(CostEngine, SlotBoundariesBelongToTheSlotThatBeginsThere)
{
    const TBandItems& table = urbana->BandsFeriali();
    const struct {
        TDateTime moment;
        int slot;
    } cases[] = {
        {Wed(0, 0), 0},          {Wed(7, 59, 59, 999), 0}, {Wed(8, 0), 1},
        {Wed(18, 29, 59, 999), 1}, {Wed(18, 30), 2},        {Wed(23, 59, 59, 999), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(&urbana->BandAt(c.moment), table[c.slot]);
    }
    EXPECT_EQ(urbana->FasciaAt(Wed(8, 0)), foIntera);
    EXPECT_EQ(&urbana->BandAt(At(2024, 3, 17, 12, 0)), urbana->BandsFestivi()[0]);
}

TEST_F(CostEngine, PieceUpToEndOfDayCountsToMidnight)
{
    quint32 remainder = 0;
    const TTaxCost cost = days->DayCost(Wed(0, 0) + EndOfDay, Wed(23, 50), Wed(23, 50), remainder);
    EXPECT_DOUBLE_EQ(cost.Lire, 600 * 2.0);
}

TEST_F(CostEngine, PulseRemainderIsCarriedAndPeriodsTruncated)
{
    quint32 remainder = 80;
    const TTaxCost cost = pulse->ScattiCost(foRidotta, 300, remainder);
    EXPECT_EQ(cost.Scatti, 0u);
    EXPECT_EQ(remainder, 380u);
    const TTaxCost next = pulse->ScattiCost(foRidotta, 30, remainder);
    EXPECT_EQ(next.Scatti, 1u);
    EXPECT_DOUBLE_EQ(next.Lire, 127);
    EXPECT_EQ(remainder, 10u);
    EXPECT_EQ(pulse->ScattiCost(foRidotta, 0, remainder).Scatti, 0u);
    EXPECT_EQ(remainder, 10u);
}

TEST_F(CostEngine, BandPrices)
{
    pulse->SetCostoFissoPunta(200);
    EXPECT_DOUBLE_EQ(pulse->CostPerScatto(foNone), 200);
    EXPECT_DOUBLE_EQ(pulse->CostPerScatto(foIntera), 127);
    EXPECT_DOUBLE_EQ(pulse->SecondsPerScatto(foPunta), 170);
    EXPECT_EQ(ErrorOf([&] { pulse->SecondsPerScatto(foNone); }), u"Fascia inesistente!"_s);
    EXPECT_TRUE(urbana->IsTat());
    EXPECT_FALSE(pulse->IsTat());
    EXPECT_TRUE(urbana->HasMinLimite());
    EXPECT_FALSE(pulse->HasMinLimite());
}

TEST_F(CostEngine, FailuresCarryTheirMessages)
{
    TTaxItem* broken = store.AddTax(u"Prova"_s, u"Rotta"_s, ttTat, {});
    TTaxItem* none = store.AddTax(u"Prova"_s, u"Nessuna"_s, ttTat, {});
    SetTable(none->BandsFeriali(), {{0, 0, foNone}});
    const struct {
        const char* name;
        std::function<void()> run;
        QString message;
    } cases[] = {
        {"start after end", [&] { urbana->IntervalCost(Wed(10, 1), Wed(10, 0)); },
         u"L'intervallo di tempo non è corretto!"_s},
        {"day cost across two dates",
         [&] { quint32 r = 0; urbana->DayCost(Thu(0, 10), Wed(23, 0), Wed(23, 0), r); },
         u"L'intervallo di tempo non è corretto: il giorno di inizio è diverso da quello di fine!"_s},
        {"negative piece",
         [&] { quint32 r = 0; urbana->SegmentCost(foIntera, Wed(10, 0), Wed(10, 1), Wed(10, 0), r); },
         u"Errore durante la conversione del tempo in secondi\r[L'intervallo di tempo non può essere minore di 0]"_s},
        {"gap in the table",
         [&] {
             // 07:00-08:00 belongs to no slot.
             SetTable(broken->BandsFeriali(), {{0, 0, foRidotta}, {7, 0, foIntera}});
             broken->BandsFeriali()[1]->SetTimeBegin(EncodeTime(8, 0, 0));
             broken->IntervalCost(Wed(7, 5), Wed(9, 0));
         },
         u"L'orario 7.05 non rientra in nessuna fascia!"_s},
        {"answer in a slot without band", [&] { none->AnswerCost(Wed(10, 0)); },
         u"Fascia oraria non valida!"_s},
        {"pulse period of zero in a used band",
         [&] { pulse->SetScattiIntera(0); pulse->IntervalCost(Wed(10, 0), Wed(10, 10)); },
         u"La tariffa Prova - Scatti non ha una durata valida dello scatto nella fascia intera!"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.run), c.message);
    }
}

TEST_F(CostEngine, UnusedZeroPulsePeriodIsHarmless)
{
    pulse->SetScattiPunta(0);
    EXPECT_EQ(pulse->IntervalCost(Wed(10, 0), Wed(10, 10)).Scatti, 3u);
}

TEST_F(CostEngine, TableOutOfOrderFailsInsteadOfWalkingOn)
{
    SetTable(urbana->BandsFeriali(), {{8, 0, foIntera}, {0, 0, foRidotta}, {18, 30, foRidotta}});
    urbana->BandsFeriali()[0]->SetTimeEnd(EncodeTime(18, 30, 0));
    urbana->BandsFeriali()[1]->SetTimeEnd(EncodeTime(8, 0, 0));
    EXPECT_TRUE(ErrorOf([&] { urbana->IntervalCost(Wed(7, 0), Wed(9, 0)); })
                    .startsWith(u"Indice della lista fuori dai limiti"_s));
}

TEST_F(CostEngine, ProgressReportsTheRunningTotalAfterEveryPiece)
{
    std::vector<double> seen;
    urbana->IntervalCost(Wed(18, 20), Wed(18, 40), false, [&](double lire) { seen.push_back(lire); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen[0], 120 + 367.2, 1e-9);
    EXPECT_NEAR(seen[1], 688.8, 1e-9);

    seen.clear();
    pulse->IntervalCost(Wed(23, 50), Thu(0, 10), false, [&](double lire) { seen.push_back(lire); });
    EXPECT_EQ(seen, (std::vector<double>{254, 508}));
}

TEST_F(CostEngine, ProcessEventsFlagDeliversPendingEvents)
{
    bool delivered = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { delivered = true; }, Qt::QueuedConnection);
    urbana->IntervalCost(Wed(10, 0), Wed(10, 20));
    EXPECT_FALSE(delivered);
    urbana->IntervalCost(Wed(10, 0), Wed(10, 20), true);
    EXPECT_TRUE(delivered);
}

TEST_F(CostEngine, CurrentBandFollowsTheClock)
{
    FakeClock clock(Wed(9, 0));
    EXPECT_EQ(pulse->FasciaNow(), foIntera);
    EXPECT_DOUBLE_EQ(pulse->SecondsPerScattoNow(), 220);
    clock.setNow(At(2024, 3, 17, 9, 0));
    EXPECT_EQ(pulse->FasciaNow(), foRidotta);
    EXPECT_DOUBLE_EQ(pulse->SecondsPerScattoNow(), 400);
}

TEST(DayKinds, SundaysAndCalendarHolidaysUseTheHolidayTable)
{
    const struct {
        TDateTime date;
        bool festivo;
        bool sabato;
    } cases[] = {
        {At(2024, 3, 13), false, false}, {At(2024, 3, 16), false, true},
        {At(2024, 3, 17), true, false},  {At(2024, 4, 1), true, false},
        {At(2000, 8, 15), true, false},  {At(2021, 12, 25), true, true},
        {At(2024, 4, 25, 15, 30), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(IsFestivo(c.date), c.festivo);
        EXPECT_EQ(IsSabato(c.date), c.sabato);
    }
}

TEST(DayKinds, InstalledCalendarDecidesHolidays)
{
    struct EveryDay final : HolidayCalendar {
        bool IsFesta(TDateTime) const override { return true; }
    } everyDay;
    HolidayCalendar::setInstance(&everyDay);
    TTaxations store;
    TTaxItem* tax = store.AddTax(u"Prova"_s, u"Festa"_s, ttTat, {});
    const bool festivo = IsFestivo(At(2024, 3, 13));
    const TBandItems* table = &tax->BandsOfDay(At(2024, 3, 13));
    HolidayCalendar::setInstance(nullptr);
    EXPECT_TRUE(festivo);
    EXPECT_EQ(table, &tax->BandsFestivi());
    EXPECT_FALSE(IsFestivo(At(2024, 3, 13)));
}

} // namespace
} // namespace vestrel::testing

namespace vestrel::testing {
namespace {

// The default calendar decodes day numbers itself; it must agree with the date helpers.
TEST(DayKinds, DefaultCalendarKnowsTheNationalHolidays)
{
    const HolidayCalendar& calendar = HolidayCalendar::defaultCalendar();
    const int fixed[][2] = {{1, 1}, {6, 1}, {25, 4}, {1, 5}, {15, 8}, {1, 11}, {8, 12}, {25, 12}, {26, 12}};
    for (TDateTime day = At(1900, 1, 1); day <= At(2101, 12, 31); day += 1) {
        const DateParts d = DecodeDate(day);
        bool expected = IsEasterMonday(day);
        for (const auto& f : fixed)
            expected = expected || (f[0] == d.day && f[1] == d.month);
        ASSERT_EQ(calendar.IsFesta(day), expected) << d.year << '-' << d.month << '-' << d.day;
        ASSERT_EQ(calendar.IsFesta(day + 0.75), expected) << "afternoon of " << day;
    }
}

// The engine splits moments into days and milliseconds itself; it must agree with the date
// helpers, ties of half a millisecond included.
TEST(DayKinds, DropMillisecondsRoundsAsTheTimeStamp)
{
    std::uint64_t seed = 12345;
    for (int i = 0; i < 200'000; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const double ms = double(seed >> 24 & ((1ull << 47) - 1)) + (i % 3 == 0 ? 0.5 : 0.0);
        const TDateTime moment = ms / double(MSecsPerDay);
        const DateParts d = DecodeDate(moment);
        const TimeParts t = DecodeTime(moment);
        const TDateTime expected = EncodeDateTime(d.year, d.month, d.day, t.hour, t.minute, t.second);
        ASSERT_EQ(DropMilliseconds(moment), expected) << ms;
    }
}

} // namespace
} // namespace vestrel::testing
