#include "LogFixtures.h"

#include "log/OldTables.h"

#include "common/VestrelError.h"

#include <QDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

// The Paradox fixtures in tests/data/log were written with pxlib by MakeOldTables.cpp there.

namespace {

class OldTablesTest : public LogTest {
protected:
    // A copy of a fixture in the temporary directory, under the given name.
    QString fixture(const QString& name, const QString& as = {})
    {
        const QString target = path(as.isEmpty() ? name : as);
        EXPECT_TRUE(QFile::copy(QStringLiteral(VESTREL_TEST_DATA "/log/") + name, target));
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return target;
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

public:
    struct Row {
        TDateTime start, end;
        qint32 pulses;
        double lire;
        friend bool operator==(const Row&, const Row&) = default;
        friend void PrintTo(const Row& r, std::ostream* os)
        {
            *os << "{" << r.start << ", " << r.end << ", " << r.pulses << ", " << r.lire << "}";
        }
    };
protected:
    static std::vector<Row> rows(const TDataUnits& log)
    {
        std::vector<Row> out;
        for (int i = 0; i < log.Units().Count(); ++i) {
            const TDataUnitsItem& r = *log.Units()[i];
            EXPECT_EQ(r.N(), QString());
            out.push_back({r.I(), r.F(), r.S(), r.L()});
        }
        return out;
    }
};

// Vestrel.dat in start order; pulses 2.5 and 3.5 round to even.
const std::vector<OldTablesTest::Row> VestrelRows = {
    {At(1999, 3, 14, 23, 50), At(1999, 3, 15, 0, 10), 4, 533.4},
    {At(1999, 3, 15, 10), At(1999, 3, 15, 10, 30), 2, 381.0},
    {At(1999, 3, 16, 8), At(1999, 3, 16, 8, 5, 30), 7, 1066.8},
};

} // namespace

TEST_F(OldTablesTest, TablesAreReadByFieldNameWhateverTheirOrder)
{
    ASSERT_TRUE(OldTablesAvailable());
    for (const char* name : {"Vestrel.dat", "Reordered.db"}) {
        SCOPED_TRACE(name);
        TDataUnits log;
        log.SetFileName(path(u"Connections.dat"_s));
        log.ImportOldTable(fixture(QString::fromLatin1(name)));
        const std::vector<Row> expected =
            QByteArray(name) == "Vestrel.dat" ? VestrelRows : std::vector<Row>{VestrelRows[1]};
        EXPECT_EQ(rows(log), expected);
        EXPECT_FALSE(log.Modified()); // saved
        TDataUnits saved;
        saved.SetFileName(log.FileName());
        EXPECT_EQ(rows(saved), expected);
        QFile::remove(log.FileName());
    }
}

TEST_F(OldTablesTest, AnUnreadableTableRaisesAndLeavesTheLogAsItWas)
{
    struct Case {
        const char* file;
        const char* reason; // the start of the bracketed detail
    } cases[] = {
        {"MissingCosto.dat", "Campo mancante: Costo"},
        {"Truncated.dat", ""},
        {"MakeOldTables.cpp", ""}, // not a table at all
        {"Absent.dat", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TDataUnits log;
        log.InsertValues(1, u"esistente"_s, 1, At(2000, 1, 1, 1), At(2000, 1, 1));
        const QString table = path(QString::fromLatin1(c.file));
        if (QByteArray(c.file) != "Absent.dat")
            fixture(QString::fromLatin1(c.file));
        try {
            log.ImportOldTable(table);
            ADD_FAILURE() << "no error";
        } catch (const VestrelError& e) {
            const QString head = u"Impossibile caricare i dati dal file: "_s + table + u"\r\r["_s;
            EXPECT_TRUE(e.message().startsWith(head + QString::fromLatin1(c.reason))) << e.what();
            EXPECT_TRUE(e.message().endsWith(u']'));
            EXPECT_GT(e.message().size(), head.size() + 1); // a reason is given
        }
        EXPECT_EQ(log.Units().Count(), 1);
    }
}

TEST_F(OldTablesTest, StartUpTakesOverVestrelDat)
{
    fixture(u"Vestrel.dat"_s);
    WriteFile(path(u"Vestrel.old"_s), "an older take-over");
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    TakeOverOldTables(log, dir.path());

    EXPECT_EQ(rows(log), VestrelRows);
    EXPECT_FALSE(log.Modified());
    EXPECT_EQ(files(), (QStringList{u"Connections.dat"_s, u"Vestrel.old"_s}));
    EXPECT_EQ(ReadFile(path(u"Vestrel.old"_s)), ReadFile(QStringLiteral(VESTREL_TEST_DATA "/log/Vestrel.dat")));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(dialogs.shown[0].text, u"Connessioni importate con successo in Connections.dat"_s);

    TakeOverOldTables(log, dir.path()); // nothing left to take over
    EXPECT_EQ(log.Units().Count(), 3);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// The oldest table goes through Vestrel.dat: costs from the pulses at 152.4 Lire, a missing
// start date taken from the end. Its name may come in any case.
TEST_F(OldTablesTest, StartUpTakesOverScattiDbThroughVestrelDat)
{
    fixture(u"Scatti.db"_s, u"SCATTI.DB"_s);
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    TakeOverOldTables(log, dir.path());

    EXPECT_EQ(rows(log), (std::vector<Row>{
                             {At(1998, 11, 2, 21, 15), At(1998, 11, 2, 21, 40, 10), 4, 4 * 152.4},
                             {At(1998, 11, 3, 9, 5), At(1998, 11, 3, 9, 5), 1, 152.4},
                         }));
    EXPECT_EQ(files(), (QStringList{u"Connections.dat"_s, u"Scatti.old"_s, u"Vestrel.old"_s}));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, u"Connessioni importate con successo in Vestrel.dat"_s);
    EXPECT_EQ(dialogs.shown[1].text, u"Connessioni importate con successo in Connections.dat"_s);
}

TEST_F(OldTablesTest, ADamagedOldTableStaysWhereItIs)
{
    fixture(u"Truncated.dat"_s, u"Vestrel.dat"_s);
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    EXPECT_THROW(TakeOverOldTables(log, dir.path()), VestrelError);
    EXPECT_EQ(log.Units().Count(), 0);
    EXPECT_EQ(files(), (QStringList{u"Connections.dat"_s, u"Vestrel.dat"_s}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// The intermediate table written by the take-over reads back exactly, signs and midnight included.
TEST_F(OldTablesTest, AWrittenTableReadsBack)
{
    const std::vector<OldConnectionRow> written = {
        {EncodeDate(1998, 11, 2), 0, EncodeDate(1998, 11, 3), EncodeTime(9, 5, 30), -3, -12.5},
        {0, 0, EncodeDate(1999, 1, 1), EncodeTime(23, 59, 59), 1e6, 152.4e6},
    };
    WriteOldTable(path(u"Vestrel.dat"_s), written);
    const std::vector<OldConnectionRow> read = ReadOldTable(path(u"Vestrel.dat"_s));
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].Datainizio, written[i].Datainizio);
        EXPECT_EQ(read[i].Orainizio, written[i].Orainizio);
        EXPECT_EQ(read[i].Datafine, written[i].Datafine);
        EXPECT_DOUBLE_EQ(read[i].Orafine, written[i].Orafine);
        EXPECT_EQ(read[i].Numeroscatti, written[i].Numeroscatti);
        EXPECT_EQ(read[i].Costo, written[i].Costo);
    }
}
