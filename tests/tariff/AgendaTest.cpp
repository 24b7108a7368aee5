#include "tariff/Agenda.h"
#include "tariff/TariffStores.h"

#include "common/VestrelError.h"
#include "store/StoreRegistry.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class Agenda : public ::testing::Test {
protected:
    QString path(const QString& name = u"Calendar.dat"_s) const { return dir.filePath(name); }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString writeText(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }

    FakeClock clock;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

// A calendar bound to a fresh file, so its days are built.
class BuiltAgenda : public Agenda {
protected:
    void SetUp() override { agenda.SetFileName(path()); }
    TAgenda agenda;
};

TDateTime date(int y, int m, int d)
{
    return EncodeDate(y, m, d);
}

} // namespace

TEST_F(Agenda, NewStoreHoldsTheBuiltInLawsAndSaints)
{
    TAgenda agenda;
    EXPECT_FALSE(agenda.Modified());
    EXPECT_FALSE(agenda.AskOnLoadError());
    EXPECT_EQ(agenda.Giorni().Count(), 0);
    ASSERT_EQ(agenda.SanctiDays().Count(), 366);
    EXPECT_EQ(agenda.SanctiDays().Lines().first(), u"SS. Madre di Dio-S. Fulgenzio-Capodanno"_s);

    ASSERT_EQ(agenda.Murphy().Count(), 241);
    QMap<QString, int> chapters;
    int withCorollaries = 0, titleIsLaw = 0;
    for (int i = 0; i < agenda.Murphy().Count(); ++i) {
        const TMurphyItem& law = *agenda.Murphy()[i];
        ++chapters[law.Capitolo()];
        withCorollaries += law.Corollari().Count() > 0;
        titleIsLaw += law.Titolo() == law.Legge();
    }
    const QMap<QString, int> expected = {
        {u"Murfologia"_s, 39},     {u"Murfologia Applicata"_s, 20}, {u"Progettazione"_s, 15},
        {u"Meccanica"_s, 19},      {u"Ricerca"_s, 21},              {u"Gerarchiologia"_s, 36},
        {u"Comitatologia"_s, 16},  {u"Contabilità"_s, 24},          {u"Espertologia"_s, 27},
        {u"Umanologia"_s, 20},     {u"Metaleggi"_s, 4}};
    EXPECT_EQ(chapters, expected);
    EXPECT_EQ(withCorollaries, 40);
    EXPECT_EQ(titleIsLaw, 18);
}

TEST_F(Agenda, MissingFileIsCreatedAndItsDaysBuiltFromTheSaints)
{
    {
        TAgenda agenda;
        agenda.SetFileName(path());
        EXPECT_TRUE(QFile::exists(path()));
        EXPECT_EQ(agenda.Murphy().Count(), 241);
        ASSERT_EQ(agenda.Giorni().Count(), 366);
        struct Row {
            int index, day, month;
            bool festa;
        };
        for (const Row& r : {Row{0, 1, 1, true}, Row{59, 29, 2, false}, Row{60, 1, 3, false},
                             Row{227, 15, 8, true}, Row{365, 31, 12, false}}) {
            const TDayItem& item = *agenda.Giorni()[r.index];
            EXPECT_EQ(item.Giorno(), r.day) << r.index;
            EXPECT_EQ(item.Mese(), r.month) << r.index;
            EXPECT_EQ(item.IsFesta(), r.festa) << r.index;
            EXPECT_EQ(item.Santi(), agenda.SanctiDays().Lines()[r.index]);
        }
        EXPECT_TRUE(agenda.Modified()) << "the new days must reach the file";
    }
    TAgenda again;
    again.SetFileName(path());
    EXPECT_EQ(again.Giorni().Count(), 366);
    EXPECT_FALSE(again.Modified()) << "stored days are not rebuilt";
}

TEST_F(BuiltAgenda, IsFestaKnowsTheNationalHolidaysAndEasterMonday)
{
    struct Row {
        TDateTime day;
        bool festa;
        const char* what;
    };
    const Row rows[] = {
        {date(1999, 12, 25), true, "Christmas 1999"},
        {date(2024, 12, 25), true, "Christmas 2024"},
        {date(2000, 1, 6), true, "Epiphany"},
        {date(2000, 2, 29), false, "29 February"},
        {date(2000, 6, 2), false, "2 June is not in the table"},
        {date(2000, 4, 24), true, "Easter Monday 2000"},
        {date(2001, 4, 16), true, "Easter Monday 2001"},
        {date(2001, 4, 17), false, "the day after it"},
        {date(2024, 4, 1), true, "Easter Monday 2024"},
        {date(2024, 3, 31), false, "Easter Sunday is the engine's Sunday"},
        {date(2000, 8, 15), true, "15 August 2000, a Tuesday"},
        {date(2000, 11, 2), false, "2 November"},
        {date(2023, 12, 26), true, "St Stephen"},
        {EncodeDateTime(2000, 5, 1, 23, 59, 59), true, "late on 1 May"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(agenda.IsFesta(r.day), r.festa) << r.what;

    // The calendar window's spring: only Easter Monday and 25 April are red.
    struct Spring {
        int year, easterMonth, easterDay;
    };
    for (const Spring s : {Spring{2000, 4, 24}, Spring{2001, 4, 16}, Spring{2024, 4, 1}}) {
        QList<TDateTime> red;
        for (TDateTime d = date(s.year, 3, 1); d <= date(s.year, 4, 30); d += 1)
            if (agenda.IsFesta(d))
                red.append(d);
        EXPECT_EQ(red, (QList<TDateTime>{date(s.year, s.easterMonth, s.easterDay), date(s.year, 4, 25)}))
            << s.year;
    }
}

TEST_F(BuiltAgenda, AHolidaySetOnADayHoldsInEveryYearAndIsStored)
{
    agenda.Giorni()[TAgenda::DayIndex(date(2000, 6, 2))]->SetIsFesta(true);
    agenda.Giorni()[TAgenda::DayIndex(date(2000, 12, 26))]->SetIsFesta(false);
    EXPECT_TRUE(agenda.IsFesta(date(1990, 6, 2)));
    EXPECT_TRUE(agenda.IsFesta(date(2030, 6, 2)));
    HolidayCalendar::setInstance(&agenda);
    EXPECT_TRUE(HolidayCalendar::instance().IsFesta(date(2024, 6, 2)));
    HolidayCalendar::setInstance(nullptr);
    agenda.Save();

    TAgenda again;
    again.SetFileName(path());
    EXPECT_TRUE(again.IsFesta(date(2001, 6, 2)));
    EXPECT_FALSE(again.IsFesta(date(2001, 12, 26)));

    again.BuildGiorni(); // the factory holidays
    EXPECT_FALSE(again.IsFesta(date(2001, 6, 2)));
    EXPECT_TRUE(again.IsFesta(date(2001, 12, 26)));
}

TEST(AgendaDays, DayIndexCountsInTheLeapYear1996)
{
    struct Row {
        TDateTime day;
        int index;
    };
    const Row rows[] = {
        {EncodeDate(1999, 1, 1), 0},    {EncodeDate(2024, 1, 1), 0},
        {EncodeDate(2023, 2, 28), 58},  {EncodeDate(2024, 2, 29), 59},
        {EncodeDate(2023, 3, 1), 60},   {EncodeDate(2024, 3, 1), 60},
        {EncodeDate(2023, 12, 31), 365}, {EncodeDateTime(2024, 12, 31, 23, 59, 0), 365},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TAgenda::DayIndex(r.day), r.index) << r.day;
}

TEST_F(BuiltAgenda, SaintsAndDescriptionOfADay)
{
    const QStringList saints = agenda.SanctiDays().Lines();
    EXPECT_EQ(agenda.SantoDelGiorno(date(2023, 3, 1)), saints[60]);
    EXPECT_EQ(agenda.SantoDelGiorno(date(2024, 1, 1)), u"SS. Madre di Dio-S. Fulgenzio-Capodanno"_s);

    struct Row {
        TDateTime day;
        bool withEaster;
        QString prefix;
    };
    const Row rows[] = {
        {date(2024, 4, 1), true, u"Lunedì dell'Angelo 1 aprile 2024\r"_s},
        {date(2024, 3, 31), true, u"Pasqua 31 marzo 2024\r"_s},
        {date(2024, 3, 31), false, u"31 marzo 2024\r"_s},
        {date(2024, 4, 2), true, u"2 aprile 2024\r"_s},
    };
    for (const Row& r : rows) {
        const TAgenda::DayText d = agenda.DayDescription(r.day, r.withEaster);
        EXPECT_EQ(d.text, r.prefix + saints[TAgenda::DayIndex(r.day)]);
        EXPECT_EQ(d.item, agenda.Giorni()[TAgenda::DayIndex(r.day)]);
    }
}

TEST_F(Agenda, DaysMissingFromGiorniAreErrors)
{
    TAgenda agenda; // unbound: no days built
    try {
        agenda.SantoDelGiorno(date(2023, 3, 1));
        FAIL() << "no error";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Il giorno 01/03/2023 non ha un santo!"_s);
    }
    EXPECT_THROW(agenda.DayDescription(date(2023, 3, 1), true), VestrelError);
    EXPECT_TRUE(agenda.IsFesta(date(2023, 1, 1))) << "the holiday table does not need the days";

    agenda.SanctiDays().SetLines({u"S. Uno"_s, u"S. Due"_s});
    EXPECT_THROW(agenda.BuildGiorni(), VestrelError);
    EXPECT_EQ(agenda.Giorni().Count(), 0);
}

TEST_F(Agenda, RandomMurphyDrawsEveryLawOnceBeforeRepeating)
{
    TAgenda agenda;
    QSet<QString> all;
    for (int i = 0; i < agenda.Murphy().Count(); ++i)
        all.insert(agenda.Murphy()[i]->Text());
    ASSERT_EQ(all.size(), 241);

    QSet<QString> drawn;
    for (int i = 0; i < 241; ++i)
        drawn.insert(agenda.RandomMurphy());
    EXPECT_EQ(drawn, all);
    EXPECT_EQ(agenda.ShownCount(), 241);
    EXPECT_TRUE(all.contains(agenda.RandomMurphy())) << "then any law may come again";

    agenda.Murphy().Clear();
    EXPECT_THROW(agenda.RandomMurphy(), VestrelError);
}

TEST(AgendaLaws, TextJoinsTitleLawAndCorollaries)
{
    struct Row {
        QString titolo, legge;
        QStringList corollari;
        QString text;
    };
    const Row rows[] = {
        {u"Ogni cosa si rompe."_s, u"Ogni cosa si rompe."_s, {}, u"Ogni cosa si rompe."_s},
        {u"Legge di Rossi"_s, u"Tutto tarda."_s, {}, u"Legge di Rossi\r\nTutto tarda."_s},
        {u" Legge di Neri "_s, u"Piove."_s, {u"Corollario: sempre."_s, u""_s},
         u"Legge di Neri \r\nPiove.\r\nCorollario: sempre."_s},
    };
    TAgenda agenda;
    for (const Row& r : rows) {
        TMurphyItem* law = agenda.Murphy().Add();
        law->SetTitolo(r.titolo);
        law->SetLegge(r.legge);
        law->Corollari().SetLines(r.corollari);
        EXPECT_EQ(law->Text(), r.text);
    }
}

TEST_F(Agenda, ImportMurphyReadsRecordsEndedByAsterisks)
{
    struct Row {
        const char* what;
        QByteArray file;
        QList<int> corollaries; // one entry per law
    };
    const QByteArray stars(46, '*');
    const Row rows[] = {
        {"7 lines, no separator", "Cap\nTitolo\nLegge\nc1\nc2\nc3\nc4\n", {4}},
        {"3 lines", "Cap\nTitolo\nLegge\n", {}},
        {"two records, CR LF", "A\r\nT\r\nL\r\n" + stars + "\r\nB\r\nT2\r\nT2\r\nc\r\n" + stars + "\r\n", {0, 1}},
        {"a last record of three lines is dropped", "A\nT\nL\nc\n" + stars + "\nB\nT\nL", {1}},
    };
    for (const Row& r : rows) {
        TAgenda agenda;
        agenda.ImportMurphy(writeText(u"leggi.txt"_s, r.file));
        ASSERT_EQ(agenda.Murphy().Count(), r.corollaries.size()) << r.what;
        for (int i = 0; i < agenda.Murphy().Count(); ++i)
            EXPECT_EQ(agenda.Murphy()[i]->Corollari().Count(), r.corollaries[i]) << r.what;
        EXPECT_TRUE(agenda.Modified()) << r.what;
    }

    TAgenda agenda;
    agenda.ImportMurphy(writeText(u"ansi.txt"_s, "Contabilit\xE0\nLegge\nTutto costa pi\xF9.\n" + stars));
    ASSERT_EQ(agenda.Murphy().Count(), 1);
    EXPECT_EQ(agenda.Murphy()[0]->Capitolo(), u"Contabilità"_s) << "not UTF-8: Windows-1252";
    EXPECT_EQ(agenda.Murphy()[0]->Legge(), u"Tutto costa più."_s);

    EXPECT_THROW(agenda.ImportMurphy(path(u"nessuno.txt"_s)), VestrelError);
    EXPECT_EQ(agenda.Murphy().Count(), 1) << "a file that cannot be read changes nothing";
}

TEST_F(BuiltAgenda, WrittenStoreReadsBackByteIdentical)
{
    agenda.SetData(QByteArray("\x00\x01\x02opaco", 8));
    agenda.SetLoadingFile(u"/home/luisa/leggi.txt"_s);
    agenda.Giorni()[0]->SetSanti(u"Capodanno"_s);
    agenda.Murphy()[0]->Corollari().Add(u"Corollario aggiunto."_s);
    agenda.Save();
    const QByteArray written = read(path());
    EXPECT_TRUE(written.contains(QByteArrayView("\x04" "Data\x0A\x08\x00\x00\x00", 10)));
    EXPECT_TRUE(written.contains("\x12SanctiDays.Strings\x01"));

    RegisterTariffStores();
    std::unique_ptr<store::TPersistentComponent> copy = store::StoreRegistry::Create("TAgenda");
    ASSERT_NE(copy, nullptr);
    QFile::copy(path(), path(u"Copy.dat"_s));
    copy->SetFileName(path(u"Copy.dat"_s));
    auto& loaded = dynamic_cast<TAgenda&>(*copy);
    EXPECT_EQ(loaded.Data(), agenda.Data());
    EXPECT_EQ(loaded.Giorni()[0]->Santi(), u"Capodanno"_s);
    loaded.Save();
    EXPECT_EQ(read(path(u"Copy.dat"_s)), written);

    TAgenda plain;
    plain.SetFileName(path(u"Plain.dat"_s));
    plain.Save();
    EXPECT_FALSE(read(path(u"Plain.dat"_s)).contains(QByteArrayView("\x04" "Data\x0A", 6))) << "an empty block is left out";
}
