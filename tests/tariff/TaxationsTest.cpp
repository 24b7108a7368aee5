#include "TariffFixtures.h"

#include "store/StoreRegistry.h"
#include "support/FakeClock.h"
#include "tariff/TariffStores.h"

#include <QFile>
#include <QTemporaryDir>

namespace vestrel::testing {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TaxationsFile : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(u"Taxations.dat"_s); }

    QTemporaryDir dir;
    FakeClock clock{At(2024, 3, 13, 10, 0)};
};

TEST_F(TaxationsFile, MissingFileComesBackWithTheBuiltInTariffsInOrder)
{
    TTaxations store;
    store.SetFileName(path());
    QStringList names;
    for (int i = 0; i < store.Taxs().Count(); ++i)
        names << store.Taxs()[i]->DisplayName();
    const QStringList expected = {
        u"Telecom - TAT Urbana"_s, u"Telecom - TAT Formula Urbana"_s,
        u"Telecom - Teleconomy No Stop"_s, u"Telecom - Teleconomy 24 ridotta"_s,
        u"Telecom - Teleconomy 24"_s, u"Telecom - TAT Distrettuale"_s,
        u"Telecom - TAT Interdistrettuale 15"_s, u"Telecom - TAT Interdistrettuale 15-30"_s,
        u"Telecom - TAT Interdistrettuale 30"_s,
        u"Infostrada - Libero@Sogno prima del 24.10.2000"_s, u"Infostrada - Libero@Sogno"_s,
        u"Infostrada - SpazioZero"_s, u"Infostrada - SpazioZero ridotta"_s,
        u"Infostrada - Locali"_s, u"Infostrada - Regionali"_s, u"Infostrada - Nazionali"_s,
        u"Infostrada - Cellulari"_s, u"Wind - Urbana"_s, u"Wind - Urbana 1088 Light"_s,
        u"Wind - Internet Light 1088"_s, u"Wind - Internet Light 1088 24 Ore"_s,
        u"Wind - Regionale 1088 Light"_s, u"Tele2 - Urbana"_s, u"Flat - Gratis"_s,
    };
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(store.Modified()); // filled after loading, so autosave writes it
}

TEST_F(TaxationsFile, SavedStoreReadsBackByteForByte)
{
    {
        TTaxations store;
        store.SetFileName(path());
        store.Taxs()[0]->SetRasEntry(u"Casa"_s);
        store.Taxs()[0]->SetVestrel(0); // no time limit: 1 ms, which must be written
        store.Save();
    }
    const QByteArray first = ReadAll(path());
    TTaxations again;
    again.SetFileName(path());
    EXPECT_FALSE(again.Modified());
    ASSERT_EQ(again.Taxs().Count(), 24);
    EXPECT_EQ(again.Taxs()[0]->RasEntry(), u"Casa"_s);
    EXPECT_DOUBLE_EQ(again.Taxs()[0]->Vestrel(), OneMillisecond);
    EXPECT_EQ(again.Taxs()[1]->MinLimiteSeconds(), 360);
    again.Save();
    EXPECT_EQ(ReadAll(path()), first);
}

// Reading a file calls the setters in stream order; FormulaUrbana comes after the prices and
// must not reload the urban-formula prices over the stored ones.
TEST_F(TaxationsFile, LoadingKeepsTheEditedPricesOfAnUrbanFormulaTariff)
{
    {
        TTaxations store;
        store.SetFileName(path());
        TTaxItem* formula = store.FindTax(u"Telecom - TAT Formula Urbana"_s);
        ASSERT_TRUE(formula && formula->FormulaUrbana());
        formula->SetTatRidotta2(9.5);
        formula->SetMinLimite(3);
        store.Save();
    }
    TTaxations again;
    again.SetFileName(path());
    const TTaxItem* formula = again.FindTax(u"Telecom - TAT Formula Urbana"_s);
    ASSERT_TRUE(formula);
    EXPECT_TRUE(formula->FormulaUrbana());
    EXPECT_DOUBLE_EQ(formula->TatRidotta2(), 9.5);
    EXPECT_EQ(formula->MinLimite(), 3);
    EXPECT_EQ(formula->MinLimiteSeconds(), 180);
}

TEST_F(TaxationsFile, ChangingABandMarksTheStoreModified)
{
    TTaxations store;
    store.SetFileName(path());
    store.Save();
    ASSERT_FALSE(store.Modified());
    store.Taxs()[0]->BandsSabato()[0]->SetTipo(foIntera);
    EXPECT_TRUE(store.Modified());
}

class BuiltinTaxes : public ::testing::Test {
protected:
    void SetUp() override { store.LoadDefaultTaxs(); }
    const TTaxItem& tax(const QString& name) const { return *store.FindTax(name); }

    FakeClock clock{At(2024, 3, 13, 10, 0)};
    TTaxations store;
};

TEST_F(BuiltinTaxes, TatUrbanaAsGiven)
{
    const TTaxItem& t = tax(u"Telecom - TAT Urbana"_s);
    EXPECT_EQ(t.Descrizione(), u"Urbana a Tempo"_s);
    EXPECT_EQ(t.DescribeBands(t.BandsFeriali()),
              u"Fasce orarie FERIALI\rFascia ridotta dalle 0.00.00 alle 8.00.00\r"
              "Fascia intera dalle 8.00.00 alle 18.30.00\r"
              "Fascia ridotta dalle 18.30.00 alle 23.59.59"_s);
    EXPECT_EQ(t.DescribeBands(t.BandsSabato()),
              u"Fasce orarie SABATO\rFascia ridotta dalle 0.00.00 alle 8.00.00\r"
              "Fascia intera dalle 8.00.00 alle 13.00.00\r"
              "Fascia ridotta dalle 13.00.00 alle 23.59.59"_s);
    EXPECT_EQ(t.DescribeBands(t.BandsFestivi()),
              u"Fasce orarie FESTIVI\rFascia ridotta dalle 0.00.00 alle 23.59.59"_s);
    EXPECT_EQ(t.MinLimite(), 15);
    EXPECT_EQ(t.MinLimiteSeconds(), 900);
    EXPECT_DOUBLE_EQ(t.CostoFissoIntera(), 120);
    EXPECT_DOUBLE_EQ(t.TatIntera1(), 36.72);
    EXPECT_DOUBLE_EQ(t.TatIntera2(), 33.12);
    EXPECT_DOUBLE_EQ(t.TatRidotta1(), 21.24);
    EXPECT_DOUBLE_EQ(t.TatRidotta2(), 19.08);
    EXPECT_TRUE(t.Compare());
    EXPECT_FALSE(t.FormulaUrbana());
}

TEST_F(BuiltinTaxes, FormulaUrbanaNoStopAndRegionaliAsGiven)
{
    const TTaxItem& f = tax(u"Telecom - TAT Formula Urbana"_s);
    EXPECT_EQ(f.Descrizione(), u"Urbana Ridotta (Formula Urbana)"_s);
    EXPECT_TRUE(f.FormulaUrbana());
    EXPECT_EQ(f.MinLimite(), 6);
    EXPECT_EQ(f.BandsFeriali().Count(), 3);
    const double formula[] = {f.TatPunta1(), f.TatPunta2(), f.TatIntera1(), f.TatIntera2(),
                              f.TatRidotta1(), f.TatRidotta2()};
    EXPECT_THAT(formula, ::testing::ElementsAre(36.72, 18.36, 36.72, 18.36, 21.24, 10.44));

    const TTaxItem& n = tax(u"Telecom - Teleconomy No Stop"_s);
    EXPECT_EQ(n.Descrizione(), u"Teleconomy No Stop (ISP a scelta)"_s);
    const double noStop[] = {n.TatPunta1(), n.TatPunta2(), n.TatIntera1(), n.TatIntera2(),
                             n.TatRidotta1(), n.TatRidotta2()};
    EXPECT_THAT(noStop, ::testing::Each(18.0));
    EXPECT_EQ(n.BonusMese(), 72000);
    EXPECT_EQ(n.BonusDisponibile(), 72000u);
    EXPECT_DOUBLE_EQ(n.MeseBonus(), At(2024, 3, 13));
    EXPECT_FALSE(n.Compare());
    EXPECT_EQ(n.BandsFeriali().Count() + n.BandsSabato().Count() + n.BandsFestivi().Count(), 3);

    const TTaxItem& r = tax(u"Infostrada - Regionali"_s);
    EXPECT_EQ(r.Descrizione(), u"Chiamate verso località situate nella stessa regione del chiamante"_s);
    EXPECT_EQ(r.DescribeBands(r.BandsFeriali()),
              u"Fasce orarie FERIALI\rFascia ridotta dalle 0.00.00 alle 8.00.00\r"
              "Fascia ora di punta dalle 8.00.00 alle 18.30.00\r"
              "Fascia intera dalle 18.30.00 alle 22.00.00\r"
              "Fascia ridotta dalle 22.00.00 alle 23.59.59"_s);
    EXPECT_EQ(r.DescribeBands(r.BandsFestivi()),
              u"Fasce orarie FESTIVI\rFascia ridotta dalle 0.00.00 alle 8.00.00\r"
              "Fascia intera dalle 8.00.00 alle 22.00.00\r"
              "Fascia ridotta dalle 22.00.00 alle 23.59.59"_s);
    const double regionali[] = {r.CostoFissoRidotta(), r.CostoFissoIntera(), r.CostoFissoPunta(),
                                r.TatRidotta1(), r.TatRidotta2(), r.TatIntera1(),
                                r.TatIntera2(), r.TatPunta1(), r.TatPunta2()};
    EXPECT_THAT(regionali, ::testing::ElementsAre(150, 150, 150, 60, 60, 114, 114, 210, 210));
}

// Every table of every built-in tariff covers the day without gaps, so a week prices cleanly.
TEST_F(BuiltinTaxes, EveryTableCoversTheWholeDay)
{
    for (int i = 0; i < store.Taxs().Count(); ++i) {
        const TTaxItem& t = *store.Taxs()[i];
        SCOPED_TRACE(t.DisplayName().toStdString());
        EXPECT_EQ(t.Tipo(), ttTat);
        for (const TBandItems* table : {&t.BandsFeriali(), &t.BandsSabato(), &t.BandsFestivi()}) {
            EXPECT_EQ((*table)[0]->TimeBegin(), 0);
            for (int s = 1; s < table->Count(); ++s)
                EXPECT_EQ((*table)[s]->TimeBegin(), (*table)[s - 1]->TimeEnd());
            EXPECT_EQ((*table)[table->Count() - 1]->TimeEnd(), EndOfDay);
        }
        EXPECT_NO_THROW(t.IntervalCost(At(2024, 3, 11), At(2024, 3, 18)));
    }
    const QString notCompared[] = {u"Telecom - Teleconomy No Stop"_s,
                                   u"Infostrada - Libero@Sogno prima del 24.10.2000"_s,
                                   u"Infostrada - Libero@Sogno"_s, u"Flat - Gratis"_s};
    for (const QString& name : notCompared)
        EXPECT_FALSE(tax(name).Compare()) << name.toStdString();
    EXPECT_EQ(tax(u"Wind - Urbana 1088 Light"_s).MinLimite(), 4);
    EXPECT_EQ(tax(u"Wind - Regionale 1088 Light"_s).MinLimite(), 4);
    EXPECT_DOUBLE_EQ(tax(u"Flat - Gratis"_s).IntervalCost(At(2024, 3, 13, 9, 0), At(2024, 3, 13, 19, 0)).Lire, 0);
}

TEST_F(BuiltinTaxes, LookupsTrimAndFoldOnlyAsciiCase)
{
    store.AddTax(u"Prova"_s, u"Città"_s, ttTat, {});
    const struct {
        QString text;
        int index;
    } cases[] = {
        {u"  telecom - tat urbana \t"_s, 0},
        {u"TELECOM - TAT FORMULA URBANA"_s, 1},
        {u"PROVA - CITTà"_s, 24},
        {u"prova - cittÀ"_s, -1},
        {u"Telecom-TAT Urbana"_s, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(store.Taxs().IndexOfDisplayName(c.text), c.index);
        EXPECT_EQ(store.FindTax(c.text), c.index < 0 ? nullptr : store.Taxs()[c.index]);
    }
    EXPECT_EQ(store.IndexOfTax(u" wind "_s, u"URBANA"_s), 17);
    EXPECT_EQ(store.IndexOfTax(u"Wind"_s, u"Nessuna"_s), -1);
    EXPECT_FALSE(store.TaxNameInUse(store.Taxs()[17], u"wind"_s, u"urbana"_s));
    EXPECT_TRUE(store.TaxNameInUse(store.Taxs()[0], u"wind"_s, u"urbana"_s));
}

TEST_F(BuiltinTaxes, AddTaxRefusesAPairInUse)
{
    const QString message = u"Impossibile aggiungere la tariffa Telecom - TAT Urbana\r"
                            "E' già presente una tariffa con questo nome!"_s;
    for (const auto& pair : {std::pair{u"Telecom"_s, u"TAT Urbana"_s},
                             std::pair{u" TELECOM\t"_s, u" tat urbana "_s}}) {
        SCOPED_TRACE(pair.second.toStdString());
        EXPECT_EQ(ErrorOf([&] { store.AddTax(pair.first, pair.second, ttScatti, {}); }), message);
    }
    EXPECT_EQ(store.Taxs().Count(), 24);
}

TEST(Taxations, AddTaxSetsTheNewTariffValues)
{
    TTaxations store;
    TTaxItem* t = store.AddTax(u" Prova "_s, u"\tNuova "_s, ttScatti, u" descr "_s);
    EXPECT_TRUE(store.Modified());
    EXPECT_EQ(t->DisplayName(), u"Prova - Nuova"_s);
    EXPECT_EQ(t->Descrizione(), u" descr "_s);
    EXPECT_EQ(t->Tipo(), ttScatti);
    EXPECT_FALSE(t->Compare());
    EXPECT_EQ(t->ScattiAllaRisposta(), 1);
    const double prices[] = {t->CostoFissoRidotta(), t->CostoFissoIntera(), t->CostoFissoPunta(),
                             t->TatPunta1(), t->TatPunta2(), t->TatIntera1(), t->TatIntera2(),
                             t->TatRidotta1(), t->TatRidotta2(), t->ScattiRidotta(),
                             t->ScattiIntera(), t->ScattiPunta()};
    EXPECT_THAT(prices, ::testing::ElementsAre(120, 120, 120, 36.72, 33.12, 36.72, 33.12, 21.24,
                                               19.08, 400, 220, 170));
    EXPECT_EQ(t->MinLimite(), 0);
    EXPECT_DOUBLE_EQ(t->Vestrel(), EncodeTime(0, 10, 0));
    EXPECT_EQ(t->DescribeBands(t->BandsSabato()),
              u"Fasce orarie SABATO\rFascia ridotta dalle 0.00.00 alle 23.59.59"_s);
    EXPECT_TRUE(store.AddTax(u"Prova"_s, u"Tempo"_s, ttTat, {})->Compare());
}

TEST(Taxations, GroupsOperatorsInOrderOfTheirFirstTariffFoldingOnlyAsciiCase)
{
    TTaxations store;
    store.AddTax(u"Wind"_s, u"A"_s, ttTat, {});
    store.AddTax(u"telecom"_s, u"B"_s, ttTat, {});
    store.AddTax(u"Èni"_s, u"C"_s, ttTat, {});
    store.AddTax(u"TELECOM"_s, u"D"_s, ttTat, {});
    store.AddTax(u"èni"_s, u"E"_s, ttTat, {});
    store.AddTax(u"x"_s, u"F"_s, ttTat, {})->SetGestore(u" wind\t"_s);
    QStringList tree;
    for (const TaxGroup& group : GroupTaxsByGestore(store.Taxs())) {
        QStringList names;
        for (const TTaxItem* tax : group.Taxs)
            names << tax->Nome();
        tree << group.Gestore + u": "_s + names.join(u',');
    }
    EXPECT_EQ(tree, (QStringList{u"Wind: A,F"_s, u"telecom: B,D"_s, u"Èni: C"_s, u"èni: E"_s}));
}

TEST(Taxations, DeleteKeepsAtLeastOneTariff)
{
    TTaxations store;
    TTaxItem* first = store.AddTax(u"P"_s, u"Uno"_s, ttTat, {});
    TTaxItem* second = store.AddTax(u"P"_s, u"Due"_s, ttTat, {});
    store.SetModified(false);
    EXPECT_EQ(store.DeleteTax(second), first);
    EXPECT_TRUE(store.Modified());
    EXPECT_EQ(store.Taxs().Count(), 1);
    EXPECT_EQ(ErrorOf([&] { store.DeleteTax(first); }), u"Almeno una tariffa ci deve essere!"_s);
    EXPECT_EQ(store.Taxs().Count(), 1);
    TTaxItem stranger;
    EXPECT_EQ(store.DeleteTax(&stranger), nullptr);
    EXPECT_EQ(store.Taxs().Count(), 1);
}

TEST(Taxations, SettersWithRules)
{
    TTaxations store;
    TTaxItem* t = store.AddTax(u"Prova"_s, u"Regole"_s, ttTat, {});
    const struct {
        TDateTime given;
        TDateTime kept;
    } limits[] = {
        {1 + EncodeTime(2, 0, 0), EncodeTime(2, 0, 0)},
        {0, OneMillisecond},
        {3, OneMillisecond},
        {EncodeTime(0, 45, 30), EncodeTime(0, 45, 30)},
    };
    for (const auto& c : limits) {
        t->SetVestrel(c.given);
        EXPECT_DOUBLE_EQ(t->Vestrel(), c.kept) << c.given;
    }
    t->SetMinLimite(4);
    EXPECT_EQ(t->MinLimiteSeconds(), 240);

    // On loads the urban-formula prices; setting it on again changes nothing; off then on reloads.
    t->SetFormulaUrbana(true);
    EXPECT_EQ(t->MinLimite(), 6);
    EXPECT_DOUBLE_EQ(t->TatRidotta2(), 10.44);
    t->SetTatRidotta2(5);
    t->SetFormulaUrbana(true);
    EXPECT_DOUBLE_EQ(t->TatRidotta2(), 5);
    t->SetFormulaUrbana(false);
    EXPECT_DOUBLE_EQ(t->TatRidotta2(), 5);
    t->SetFormulaUrbana(true);
    EXPECT_DOUBLE_EQ(t->TatRidotta2(), 10.44);

    TTaxItem* pulse = store.AddTax(u"Prova"_s, u"Scatti"_s, ttScatti, {});
    pulse->SetFormulaUrbana(true);
    EXPECT_TRUE(pulse->FormulaUrbana());
    EXPECT_EQ(pulse->MinLimite(), 0);
    EXPECT_DOUBLE_EQ(pulse->TatRidotta2(), 19.08);
}

TEST(Taxations, MonthlyBonusRefillsInAnyOtherMonth)
{
    FakeClock clock(At(2024, 4, 10, 9, 0));
    const struct {
        const char* name;
        qint32 bonusMese;
        TDateTime meseBonus;
        TDateTime now;
        quint32 disponibile;
        TDateTime meseAfter;
    } cases[] = {
        {"next month refills", 72000, At(2024, 3, 15), At(2024, 4, 10), 72000, At(2024, 4, 1)},
        {"same month keeps", 72000, At(2024, 4, 15), At(2024, 4, 10), 100, At(2024, 4, 1)},
        {"earlier month refills", 72000, At(2024, 4, 1), At(2024, 2, 29), 72000, At(2024, 2, 1)},
        {"no allowance", 0, At(2024, 3, 15), At(2024, 4, 10), 100, At(2024, 3, 15)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTaxations store;
        TTaxItem* t = store.AddTax(u"Prova"_s, u"Bonus"_s, ttTat, {});
        t->SetBonusMese(c.bonusMese);
        t->SetMeseBonus(c.meseBonus);
        t->SetBonusDisponibile(100);
        clock.setNow(c.now);
        store.UpdateMonthlyBonuses();
        EXPECT_EQ(t->BonusDisponibile(), c.disponibile);
        EXPECT_DOUBLE_EQ(t->MeseBonus(), c.meseAfter);
        t->SetBonusDisponibile(5);
        t->UpdateMonthlyBonus();
        EXPECT_EQ(t->BonusDisponibile(), 5u) << "run again the same month";
    }
}

TEST(BandFunctions, NamesAndColours)
{
    const struct {
        TFasciaOraria band;
        QString name;
        TColor color;
    } cases[] = {
        {foPunta, u"ora di punta"_s, 0x0000FF},
        {foIntera, u"intera"_s, 0x00FFFF},
        {foRidotta, u"ridotta"_s, 0x00FF00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FasciaName(c.band), c.name);
        EXPECT_EQ(FasciaColor(c.band), c.color);
        EXPECT_EQ(ColorFascia(c.color), c.band);
    }
    EXPECT_EQ(ErrorOf([] { FasciaName(foNone); }), u"Fascia oraria inesistente"_s);
    EXPECT_EQ(ErrorOf([] { FasciaColor(foNone); }), u"Fascia oraria inesistente"_s);
    EXPECT_EQ(ErrorOf([] { ColorFascia(0xFFFFFF); }), u"Colore fascia inesistente"_s);
}

TEST(TariffStores, TaxationsIsRegistered)
{
    RegisterTariffStores();
    const auto created = store::StoreRegistry::Create("TTaxations");
    EXPECT_NE(dynamic_cast<TTaxations*>(created.get()), nullptr);
}

} // namespace
} // namespace vestrel::testing
