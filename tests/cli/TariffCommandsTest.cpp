#include "common/Clock.h"
#include "config/Settings.h"
#include "cli/CliRunner.h"
#include "tariff/TariffFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class TariffCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    CliResult run(const QStringList& args) { return RunCliIn(dir.path(), args); }

    // The tariffs of the worked examples, beside the built-in ones.
    void addExampleTariffs()
    {
        TTaxations store;
        store.SetFileName(dir.filePath(u"Taxations.dat"_s));
        AddPulseTariff(store);
        TTaxItem* free = store.AddTax(u"Prova"_s, u"Gratis"_s, ttTat, {});
        free->SetTatRidotta1(18);
        free->SetTatRidotta2(18);
        free->SetMinLimite(0);
        SetTable(free->BandsFeriali(), {{0, 0, foRidotta}});
        free->SetBonusMese(600);
        free->SetMeseBonus(Now());
        free->SetBonusDisponibile(600);
        store.Save();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(TariffCommands, TariffsListsTheBuiltInTariffsAndCreatesTheFiles)
{
    const CliResult r = run({u"tariffs"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 24);
    EXPECT_EQ(lines.value(0), u"Telecom - TAT Urbana"_s);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Taxations.dat"_s)));
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Calendar.dat"_s)));
}

TEST_F(TariffCommands, PriceReproducesTheWorkedExamples)
{
    addExampleTariffs();
    struct Case {
        const char* name;
        const char* tax;
        const char* from;
        const char* to;
        const char* line;
    } cases[] = {
        // 14 March 2001 was a Wednesday.
        {"full band across the first period", "Telecom - TAT Urbana", "2001-03-14 10:00:00", "2001-03-14 10:20:00", "836.400000 0"},
        {"full into reduced", "Telecom - TAT Urbana", "2001-03-14 18:20:00", "2001-03-14 18:40:00", "688.800000 0"},
        {"pulses in one band", "Prova - Scatti", "2001-03-14 10:00:00", "2001-03-14 10:10:00", "381.000000 3"},
        {"pulses across a band change", "Prova - Scatti", "2001-03-14 18:25:00", "2001-03-14 18:35:00", "254.000000 2"},
        {"pulses across midnight", "Prova - Scatti", "2001-03-14 23:50:00", "2001-03-15 00:10:00", "508.000000 4"},
        {"free seconds", "Prova - Gratis", "2001-03-14 10:00:00", "2001-03-14 10:15:00", "90.000000 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = run({u"price"_s, u"--tax"_s, QString::fromUtf8(c.tax), u"--from"_s,
                              QString::fromUtf8(c.from), u"--to"_s, QString::fromUtf8(c.to)});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.line) + u'\n');
    }
}

TEST_F(TariffCommands, PriceFailuresSayWhyInItalian)
{
    const CliResult unknown = run({u"price"_s, u"--tax"_s, u"Nessuno - Niente"_s, u"--from"_s,
                                u"2001-03-14 10:00:00"_s, u"--to"_s, u"2001-03-14 10:20:00"_s});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.err, u"Tariffa sconosciuta: Nessuno - Niente\n"_s);

    const CliResult badDate = run({u"price"_s, u"--tax"_s, u"Telecom - TAT Urbana"_s, u"--from"_s,
                                u"2001-02-30 10:00:00"_s, u"--to"_s, u"2001-03-14 10:20:00"_s});
    EXPECT_EQ(badDate.code, 1);
    EXPECT_TRUE(badDate.err.startsWith(u"Data non valida: 2001-02-30 10:00:00"_s));

    const CliResult reversed = run({u"price"_s, u"--tax"_s, u"Telecom - TAT Urbana"_s, u"--from"_s,
                                 u"2001-03-14 10:20:00"_s, u"--to"_s, u"2001-03-14 10:00:00"_s});
    EXPECT_EQ(reversed.code, 1);
    EXPECT_FALSE(reversed.err.isEmpty());

    EXPECT_EQ(run({u"price"_s, u"--tax"_s, u"Telecom - TAT Urbana"_s}).code, 2);
}

TEST_F(TariffCommands, CompareNamesCheaperTariffsOrNothing)
{
    const CliResult dear = run({u"compare"_s, u"--tax"_s, u"Telecom - TAT Interdistrettuale 30"_s, u"--from"_s,
                             u"2001-03-14 10:00:00"_s, u"--to"_s, u"2001-03-14 11:00:00"_s});
    ASSERT_EQ(dear.code, 0) << dear.err.toStdString();
    EXPECT_GT(dear.out.trimmed().size(), 0);

    const CliResult cheapest = run({u"compare"_s, u"--tax"_s, u"Flat - Gratis"_s, u"--from"_s,
                                 u"2001-03-14 10:00:00"_s, u"--to"_s, u"2001-03-14 11:00:00"_s});
    ASSERT_EQ(cheapest.code, 0) << cheapest.err.toStdString();
    EXPECT_EQ(cheapest.out, u"\n"_s);
}

TEST_F(TariffCommands, DayTellsHolidaysAndSaints)
{
    struct Case {
        const char* date;
        const char* festivo;
        const char* sabato;
        const char* festa;
        const char* index;
    } cases[] = {
        {"2024-04-01", "yes", "no", "yes", "91"},  // Easter Monday
        {"2000-08-15", "yes", "no", "yes", "227"}, // a Tuesday holiday
        {"2001-03-17", "no", "yes", "no", "76"},   // a plain Saturday
        {"2001-01-01", "yes", "no", "yes", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        const CliResult r = run({u"day"_s, QString::fromUtf8(c.date)});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 5);
        EXPECT_EQ(lines[0], u"IsFestivo: "_s + QString::fromUtf8(c.festivo));
        EXPECT_EQ(lines[1], u"IsSabato: "_s + QString::fromUtf8(c.sabato));
        EXPECT_EQ(lines[2], u"IsFesta: "_s + QString::fromUtf8(c.festa));
        EXPECT_EQ(lines[3], u"DayIndex: "_s + QString::fromUtf8(c.index));
        EXPECT_TRUE(lines[4].startsWith(u"Santi: "_s));
    }
    EXPECT_TRUE(run({u"day"_s, u"2001-01-01"_s}).out.contains(u"SS. Madre di Dio-S. Fulgenzio-Capodanno"_s));
}

TEST_F(TariffCommands, StoresOfTheProgramResaveByteForByte)
{
    run({u"tariffs"_s}); // creates Taxations.dat and Calendar.dat
    {
        TSettings settings;
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
    }
    for (const QString& name : {u"Taxations.dat"_s, u"Calendar.dat"_s, u"Settings.dat"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString out = dir.filePath(u"again-"_s + name);
        const CliResult r = run({u"resave"_s, dir.filePath(name), out});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        QFile a(dir.filePath(name)), b(out);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll());
    }
}
