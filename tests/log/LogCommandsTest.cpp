#include "LogFixtures.h"

#include "cli/CliRunner.h"

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class LogCommandsTest : public LogTest {
protected:
    CliResult run(const QStringList& args) { return RunCliIn(dir.path(), args); }
    void fillLog()
    {
        TDataUnits log;
        log.SetFileName(path(u"Connections.dat"_s));
        log.AddConnection(Connection(At(2000, 3, 1, 9), At(2000, 3, 1, 9, 10), 1, 100, u"Tiscali"_s));
        log.AddConnection(Connection(At(2000, 3, 1, 23, 50), At(2000, 3, 2, 0, 20), 3, 300.5, u"Libero"_s));
        log.AddConnection(Connection(At(2000, 3, 2, 8), At(2000, 3, 2, 8, 0, 30), 1, 50, u"tiscali"_s));
    }
};

} // namespace

TEST_F(LogCommandsTest, StatsPrintOneLinePerGroup)
{
    fillLog();
    struct Case {
        QStringList args;
        const char* out;
    } cases[] = {
        {{u"--by"_s, u"day"_s},
         "2000-03-01 09:00:00\t2400\t4\t400.50\tTiscali\n"
         "2000-03-02 08:00:00\t30\t1\t50.00\ttiscali\n"},
        {{u"--by"_s, u"connection"_s},
         "2000-03-01 09:00:00\t630\t2\t150.00\tTiscali\n"
         "2000-03-01 23:50:00\t1800\t3\t300.50\tLibero\n"},
        {{u"--by"_s, u"month"_s, u"--from"_s, u"2000-03-01 23:50"_s},
         "2000-03-01 23:50:00\t1830\t4\t350.50\tLibero\n"},
        {{u"--to"_s, u"2000-03-01"_s, u"--by"_s, u"year"_s},
         "2000-03-01 09:00:00\t2400\t4\t400.50\tTiscali\n"},
        {{u"--by"_s, u"day"_s, u"--from"_s, u"2001-01-01"_s}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = run(QStringList{u"log"_s, u"stats"_s} + c.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.out));
    }
}

TEST_F(LogCommandsTest, ExportThenImportIntoAnotherDataDirectory)
{
    fillLog();
    const QString text = path(u"Connessioni.txt"_s);
    CliResult r = run({u"log"_s, u"export"_s, text});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, u"I dati di connessione sono stati esportati con successo in "_s + text + u'\n');

    QFile::remove(path(u"Connections.dat"_s));
    r = run({u"log"_s, u"import"_s, text});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, u"Importate ben 3 connessioni!\n"_s);
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    EXPECT_EQ(log.Units().Count(), 3);

    WriteFile(path(u"bad.txt"_s), "bad\r\nworse\r\n");
    r = run({u"log"_s, u"import"_s, path(u"bad.txt"_s)});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, u"Non è stato possibile importare ben 2 connessioni su 0!\n"_s);

    r = run({u"log"_s, u"import"_s, path(u"missing.txt"_s)});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(u"Impossibile aprire il file: "_s));
}

TEST_F(LogCommandsTest, WrongUsage)
{
    for (const QStringList& args : {QStringList{u"log"_s}, {u"log"_s, u"export"_s}, {u"log"_s, u"stats"_s},
                                     {u"log"_s, u"stats"_s, u"--by"_s, u"week"_s},
                                     {u"log"_s, u"stats"_s, u"--by"_s, u"day"_s, u"--by"_s, u"day"_s},
                                     {u"log"_s, u"stats"_s, u"--by"_s, u"day"_s, u"--from"_s}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(u"log stats --by"_s));
    }
    const CliResult r = run({u"log"_s, u"stats"_s, u"--by"_s, u"day"_s, u"--from"_s, u"2000-02-30"_s});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(u"Data non valida: 2000-02-30"_s));
}

TEST_F(LogCommandsTest, ResaveKnowsTheLog)
{
    fillLog();
    const CliResult r = run({u"resave"_s, path(u"Connections.dat"_s), path(u"out.dat"_s)});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(ReadFile(path(u"out.dat"_s)), ReadFile(path(u"Connections.dat"_s)));
}
