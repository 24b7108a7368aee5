#include "TariffFixtures.h"

#include "common/ItalianSeparators.h"

#include <vector>

namespace vestrel::testing {
namespace {

// Candidates that cost exactly their answer charge: one reduced slot, no minute rate.
class CompareTaxs : public ::testing::Test {
protected:
    TTaxItem* addCosting(const QString& nome, double lire, TTipoTariffa tipo = ttTat)
    {
        TTaxItem* t = store.AddTax(u"Prova"_s, nome, tipo, {});
        t->SetCostoFissoRidotta(lire);
        t->SetTatRidotta1(0);
        t->SetCompare(true);
        return t;
    }
    // Ten minutes on a Wednesday morning, charged `lire` under the tariff used.
    static ComparedConnection connection(double lire)
    {
        return {At(2024, 3, 13, 10, 0), At(2024, 3, 13, 10, 10), lire};
    }

    ItalianSeparators separators;
    TTaxations store;
};

TEST_F(CompareTaxs, LargestSavingOnTopSmallerOnesAppended)
{
    addCosting(u"A"_s, 150);
    addCosting(u"B"_s, 80);
    addCosting(u"C"_s, 120);
    EXPECT_EQ(store.CompareTaxs(connection(200)),
              u"risparmiavi 120 £irette con Prova - B\r"
              "risparmiavi  50 £irette con Prova - A\r"
              "risparmiavi  80 £irette con Prova - C\r"_s);
}

TEST_F(CompareTaxs, OnlyTimeBasedCandidatesSavingAWholeLira)
{
    addCosting(u"Quasi"_s, 199.1);              // 0.9 Lire cheaper
    addCosting(u"Scatti"_s, 1, ttScatti);        // pulse-based, never listed
    addCosting(u"Esclusa"_s, 1)->SetCompare(false);
    addCosting(u"Cara"_s, 300);
    addCosting(u"Usata"_s, 200);                 // the tariff used: saving 0
    EXPECT_EQ(store.CompareTaxs(connection(200)), QString());
}

TEST_F(CompareTaxs, SavingIsTruncatedAndShownWithThousandsSeparator)
{
    addCosting(u"Mille"_s, 500);
    EXPECT_EQ(store.CompareTaxs(connection(2000.75)),
              u"risparmiavi 1.500 £irette con Prova - Mille\r"_s);
}

TEST_F(CompareTaxs, FreeSecondsOfTheCandidateApply)
{
    TTaxItem* t = addCosting(u"Bonus"_s, 100);
    t->SetTatRidotta1(60);
    t->SetBonusDisponibile(300); // no answer charge, 300 of 600 s at 1 Lira
    EXPECT_EQ(store.CompareTaxs(connection(400)), u"risparmiavi 100 £irette con Prova - Bonus\r"_s);
}

TEST_F(CompareTaxs, StopAndProgressCallbacks)
{
    addCosting(u"A"_s, 150);
    addCosting(u"Esclusa"_s, 1)->SetCompare(false);
    addCosting(u"B"_s, 80);
    addCosting(u"C"_s, 120);

    EXPECT_EQ(store.CompareTaxs(connection(200), {}, [] { return true; }), QString());

    std::vector<std::pair<QString, int>> progress;
    int asked = 0;
    const QString report = store.CompareTaxs(
        connection(200), [&](const QString& text, int percent) { progress.emplace_back(text, percent); },
        [&] { return ++asked > 3; });
    // Asked before each tariff: the fourth answer stops before C.
    EXPECT_EQ(report, u"risparmiavi 120 £irette con Prova - B\rrisparmiavi  50 £irette con Prova - A\r"_s);
    const std::vector<std::pair<QString, int>> expected = {
        {u"Calcolo del costo di A"_s, 0}, {u"Calcolo del costo di B"_s, 50}};
    EXPECT_EQ(progress, expected);
}

TEST_F(CompareTaxs, CandidateThatFailsEndsTheComparison)
{
    addCosting(u"A"_s, 150);
    SetTable(addCosting(u"Rotta"_s, 1)->BandsFeriali(), {{11, 0, foRidotta}});
    EXPECT_EQ(ErrorOf([&] { store.CompareTaxs(connection(200)); }),
              u"L'orario 10.00 non rientra in nessuna fascia!"_s);
}

} // namespace
} // namespace vestrel::testing
