#include "LogFixtures.h"

#include "log/LogText.h"

#include "common/Locale.h"
#include "common/VestrelError.h"

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

// The Italian separators: decimal comma, thousands point.
class LogTextTest : public LogTest {
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        Locale::setSeparators(u',', u'.');
    }
    void TearDown() override { Locale::resetSeparators(); }
};

} // namespace

TEST_F(LogTextTest, ExportWritesTheTextLayout)
{
    TDataUnits log;
    log.InsertValues(3, u"Città"_s, 1936.27, At(2000, 1, 1, 10, 30), At(2000, 1, 1, 10));
    // Large amounts keep every digit: no exponent, no thousands separator, no lost decimals.
    log.InsertValues(9, QString(), 1234567.891, At(2000, 1, 2, 0, 0, 5), At(2000, 1, 2));
    ASSERT_TRUE(log.ExportText(path(u"Connessioni.txt"_s)));
    EXPECT_EQ(QString::fromLatin1(ReadFile(path(u"Connessioni.txt"_s))),
              QString::fromLatin1("Inizio\t\t\tFine\t\t\tScatti\tLire\tEuro\tConnessione\r\n"
                         "01/01/2000 10:00:00\t01/01/2000 10:30:00\t3\t1936,27\t1,000\tCitt\xE0\r\n"
                         "02/01/2000 00:00:00\t02/01/2000 00:00:05\t9\t1234567,89\t637,601\t\r\n"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(dialogs.shown[0].text,
              u"I dati di connessione sono stati esportati con successo in "_s + path(u"Connessioni.txt"_s));
}

TEST_F(LogTextTest, ExportThenImportReproducesStartEndPulsesLireAndName)
{
    TDataUnits log;
    TConnectionData full = Connection(At(2000, 1, 1, 10), At(2000, 1, 1, 10, 30, 15), 3, 1936.274, u"Città"_s);
    full.IpAddress = u"151.1.2.3"_s;
    full.Speed = 56000;
    full.BytesSent = 10;
    full.BytesReceived = 20;
    log.AddConnection(full);
    log.AddConnection(Connection(At(1999, 12, 31, 23, 59, 59), At(2000, 1, 1, 0, 1), -2, 0.5, u"0521123456"_s));
    log.AddConnection(Connection(At(2000, 1, 2, 8), At(2000, 1, 2, 9), 1, 127, u"Ωmega"_s)); // needs UTF-8
    ASSERT_TRUE(log.ExportText(path(u"Connessioni.txt"_s)));

    TDataUnits imported;
    imported.SetFileName(path(u"Connections.dat"_s));
    EXPECT_TRUE(imported.ImportText(path(u"Connessioni.txt"_s)));
    EXPECT_EQ(dialogs.shown.back().text, u"Importate ben 3 connessioni!"_s);
    EXPECT_FALSE(imported.Modified());

    TDataUnits saved;
    saved.SetFileName(path(u"Connections.dat"_s));
    EXPECT_EQ(saved.Units().Count(), 3);
    ASSERT_EQ(imported.Units().Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TDataUnitsItem& a = *log.Units()[i];
        const TDataUnitsItem& b = *imported.Units()[i];
        SCOPED_TRACE(a.N().toStdString());
        EXPECT_EQ(DateTimeToMSecs(b.I()), DateTimeToMSecs(a.I()));
        EXPECT_EQ(DateTimeToMSecs(b.F()), DateTimeToMSecs(a.F()));
        EXPECT_EQ(b.S(), a.S());
        EXPECT_DOUBLE_EQ(b.L(), std::round(a.L() * 100) / 100);
        EXPECT_EQ(b.N(), a.N());
        EXPECT_EQ(b.Z(), QString());
        EXPECT_EQ(b.Y(), 0);
        EXPECT_EQ(b.T(), 0u);
        EXPECT_EQ(b.R(), 0u);
    }
}

TEST_F(LogTextTest, LinesOfBothLayouts)
{
    const TDateTime start = At(2000, 2, 1, 9, 5), end = At(2000, 2, 1, 9, 35, 20);
    struct Case {
        const char* what;
        QString line;
        std::optional<QString> name; // nullopt: rejected
        double lire = 0;
    } cases[] = {
        {"six columns", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508,4\t0,263\tTiscali"_s, u"Tiscali"_s, 508.4},
        {"six columns, no name", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508,4\t0,263\t"_s, u""_s, 508.4},
        {"five columns", u"1/2/2000 9:05\t1/2/2000 9:35:20\t4\t508\tAvvio manuale"_s, u"Avvio manuale"_s, 508},
        {"five columns, a dialled number as name", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508\t0521123456"_s,
         u"0521123456"_s, 508},
        {"no name column", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508"_s, u""_s, 508},
        {"no such date", u"30/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508\tx"_s, std::nullopt},
        {"no such hour", u"01/02/2000 24:05:00\t01/02/2000 09:35:20\t4\t508\tx"_s, std::nullopt},
        {"pulses not a number", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\tquattro\t508\tx"_s, std::nullopt},
        {"pulses too large", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t2147483648\t508\tx"_s, std::nullopt},
        {"Lire with another separator", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508.4\tx"_s, std::nullopt},
        {"Lire missing", u"01/02/2000 09:05:00\t01/02/2000 09:35:20\t4"_s, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = ParseLogTextLine(c.line);
        ASSERT_EQ(parsed.has_value(), c.name.has_value());
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->start, start);
        EXPECT_EQ(parsed->end, end);
        EXPECT_EQ(parsed->pulses, 4);
        EXPECT_EQ(parsed->lire, c.lire);
        EXPECT_EQ(parsed->name, *c.name);
    }
}

// Header lines of either layout and blank lines are no connections; lines end in CR LF, LF or CR.
TEST_F(LogTextTest, ImportCountsOnlyConnectionLines)
{
    WriteFile(path(u"in.txt"_s), "Inizio\t\t\tFine\t\t\tScatti\tLire\tConnessione\n"
                                 "01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508\tCitt\xE0\r"
                                 "\r\n"
                                 "Inizio\t\t\tFine\t\t\tScatti\tLire\tEuro\tConnessione\r\n"
                                 "02/02/2000 09:05:00\t02/02/2000 09:35:20\t4\t508\t0,262\tLibero\r\n"
                                 "   \r\n");
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    EXPECT_TRUE(log.ImportText(path(u"in.txt"_s)));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(dialogs.shown[0].text, u"Importate ben 2 connessioni!"_s);
    ASSERT_EQ(log.Units().Count(), 2);
    EXPECT_EQ(log.Units()[0]->N(), u"Città"_s); // Windows-1252, as the program has always written
}

TEST_F(LogTextTest, MoreLinesRejectedThanImportedWarnsAndDoesNotSave)
{
    WriteFile(path(u"in.txt"_s), "bad\r\n"
                                 "01/02/2000 09:05:00\t01/02/2000 09:35:20\t4\t508\tuno\r\n"
                                 "also bad\r\n"
                                 "01/02/2000 10:05:00\t01/02/2000 10:35:20\t4\t508\tdue\r\n"
                                 "31/31/2000 10:05:00\t01/02/2000 10:35:20\t4\t508\ttre\r\n");
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    const QByteArray before = ReadFile(log.FileName());
    EXPECT_FALSE(log.ImportText(path(u"in.txt"_s)));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text, u"Non è stato possibile importare ben 3 connessioni su 2!"_s);
    EXPECT_EQ(ReadFile(log.FileName()), before);
    EXPECT_EQ(log.Units().Count(), 2); // in memory until the log is next saved
    EXPECT_FALSE(log.Modified());
}

TEST_F(LogTextTest, FailuresOfExportAndImport)
{
    TDataUnits log;
    log.InsertValues(1, u"x"_s, 1, At(2000, 1, 1, 1), At(2000, 1, 1));

    const QString nowhere = path(u"missing/Connessioni.txt"_s);
    EXPECT_FALSE(log.ExportText(nowhere));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text, u"Impossibile salvare il file "_s + nowhere
                                         + u"\r\rControllare che il supporto non sia a sola lettura o che non sia esaurito lo spazio su disco!"_s);

    WriteFile(path(u"old.txt"_s), "the previous export");
    {
        FileSizeLimit full(20);
        EXPECT_FALSE(log.ExportText(path(u"old.txt"_s)));
    }
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(u"Impossibile esportare i dati di connessione: \r\r"_s));
    EXPECT_EQ(ReadFile(path(u"old.txt"_s)), "the previous export");

    try {
        log.ImportText(nowhere);
        ADD_FAILURE() << "no error";
    } catch (const VestrelError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Impossibile aprire il file: "_s + nowhere + u"\r\r["_s));
    }
    EXPECT_EQ(log.Units().Count(), 1);
}
