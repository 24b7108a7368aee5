#include "cli/CliRunner.h"
#include "cli/SimulationScript.h"

#include "common/Dates.h"
#include "common/VestrelError.h"
#include "log/DataUnits.h"
#include "support/QStringPrinter.h"
#include "tariff/TariffFixtures.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

QString script(const char* name)
{
    return QStringLiteral(VESTREL_TEST_DATA "/simulation/") + QString::fromLatin1(name);
}

class Watch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    int run(const QStringList& args, QString* out = nullptr)
    {
        const CliResult r = RunCliIn(dir.path(), args);
        if (out)
            *out = r.out;
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        return r.code;
    }

    // The program in its own process, for a run that ends as a power cut does.
    int runProcess(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(VESTREL_CLI_PATH), QStringList{u"--data-dir"_s, dir.path()} + args);
        p.waitForFinished(60'000);
        return p.exitCode();
    }

    std::unique_ptr<TDataUnits> log()
    {
        auto units = std::make_unique<TDataUnits>();
        units->SetFileName(dir.filePath(u"Connections.dat"_s));
        return units;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Watch, ReplaysATenMinuteConnectionAndLogsIt)
{
    QString out;
    ASSERT_EQ(run({u"watch"_s, u"--simulate"_s, script("ten-minutes.txt")}, &out), 0);
    const auto units = log();
    ASSERT_EQ(units->Units().Count(), 1);
    const auto* record = units->Units()[0];
    EXPECT_EQ(record->N(), u"Casa"_s);
    EXPECT_EQ(record->Z(), u"151.1.2.3"_s);
    // Counted from the first sight of the connection being set up.
    EXPECT_EQ(record->I(), EncodeDateTime(2001, 3, 14, 10, 0, 2));
    EXPECT_EQ(SecondsOf(record->F() - record->I()), 600);
    EXPECT_EQ(record->S(), 0);
    // 120 at answer and 600 s at 36.72 a minute, all within the first 15 minutes.
    EXPECT_NEAR(record->L(), 120 + 600 * 36.72 / 60, 1e-6);
    EXPECT_EQ(record->T(), 120000u);
    EXPECT_EQ(record->R(), 2400000u);
    EXPECT_TRUE(out.contains(u"Connessione registrata: Casa"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"Imposto la tariffa Telecom - TAT Urbana associata alla connessione Casa"_s));

    for (const QString& name : {u"Status.dat"_s, u"Connections.dat"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString again = dir.filePath(u"again-"_s + name);
        ASSERT_EQ(run({u"resave"_s, dir.filePath(name), again}), 0);
        QFile a(dir.filePath(name)), b(again);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll());
    }
}

TEST_F(Watch, APowerCutLeavesAConnectionThatTheNextStartOffersToLog)
{
    EXPECT_EQ(runProcess({u"watch"_s, u"--simulate"_s, script("power-cut.txt")}), 0);
    EXPECT_EQ(log()->Units().Count(), 0);

    QString out;
    ASSERT_EQ(run({u"watch"_s, u"--answer"_s, u"yes"_s, u"--simulate"_s, script("nothing.txt")}, &out), 0);
    EXPECT_TRUE(out.contains(u"Attenzione: la connessione «Casa» di mercoledì 14 marzo 2001 delle 10:00"_s))
        << out.toStdString();
    const auto units = log();
    ASSERT_EQ(units->Units().Count(), 1);
    EXPECT_EQ(units->Units()[0]->N(), u"Casa"_s);
    EXPECT_GE(SecondsOf(units->Units()[0]->F() - units->Units()[0]->I()), 290);

    // Answered, the question does not come back.
    ASSERT_EQ(run({u"watch"_s, u"--simulate"_s, script("nothing.txt")}, &out), 0);
    EXPECT_FALSE(out.contains(u"Attenzione"_s));
}

TEST(SimulationScript, BadLinesAreNamedInItalian)
{
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"at 5 connection Casa", "Script di simulazione non valido, riga 1: numero di argomenti errato"},
        {"entry Casa\nat x gone Casa", "Script di simulazione non valido, riga 2: tempo non valido: x"},
        {"at 1 call ringing", "Script di simulazione non valido, riga 1: istruzione sconosciuta: call"},
        {"entry \"Casa", "Script di simulazione non valido, riga 1: virgolette non chiuse"},
        {"start 2001-02-30 10:00:00", "Script di simulazione non valido, riga 1: data non valida"},
        {"at 1 dial Casa fail -3", "Script di simulazione non valido, riga 1: numero non valido: -3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            cli::SimulationScript::Parse(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted";
        } catch (const VestrelError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    const auto s = cli::SimulationScript::Parse(u"# nulla\n\nentry \"Casa mia\" 0521 # commento\nat 1.5 manual start\n"_s);
    ASSERT_EQ(s.entries.size(), 1u);
    EXPECT_EQ(s.entries[0].name, u"Casa mia"_s);
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].atMs, 1500);
}

TEST_F(Watch, TheProgramsOwnDialRetriesABusyLineAndCountsTheConnection)
{
    QString out;
    ASSERT_EQ(run({u"watch"_s, u"--simulate"_s, script("dial.txt")}, &out), 0);
    EXPECT_TRUE(out.contains(u"Errore: La linea è occupata"_s)) << out.toStdString();
    const auto units = log();
    ASSERT_EQ(units->Units().Count(), 1);
    EXPECT_EQ(units->Units()[0]->N(), u"Casa"_s);
    EXPECT_EQ(units->Units()[0]->Z(), u"151.9.9.9"_s);
}
