#include "LogFixtures.h"

#include "common/Dates.h"
#include "common/Locale.h"

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Group {
    TDateTime start;
    qint64 seconds;
    qint32 pulses;
    double lire;
    QString name;
    friend bool operator==(const Group&, const Group&) = default;
    friend void PrintTo(const Group& g, std::ostream* os)
    {
        *os << "{" << g.start << ", " << g.seconds << " s, " << g.pulses << ", " << g.lire << ", "
            << g.name.toStdString() << "}";
    }
};

std::vector<Group> groups(const TDataUnitsItems& items)
{
    std::vector<Group> out;
    for (int i = 0; i < items.Count(); ++i) {
        const TDataUnitsItem& r = *items[i];
        out.push_back({r.I(), SecondsOf(r.Duration()), r.S(), r.L(), r.N()});
    }
    return out;
}

// Two Marches of two years side by side, a connection across midnight, one name in three cases.
class QueriesTest : public LogTest {
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        log.InsertValues(2, u"Tiscali"_s, 200, At(1999, 3, 10, 10, 30), At(1999, 3, 10, 10));
        log.InsertValues(1, u"tiscali"_s, 100, At(2000, 3, 1, 9, 10), At(2000, 3, 1, 9));
        log.InsertValues(3, u"Libero"_s, 300, At(2000, 3, 2, 0, 20), At(2000, 3, 1, 23, 50));
        log.InsertValues(1, u"TISCALI"_s, 50, At(2000, 3, 2, 0, 5), At(2000, 3, 2));
        log.InsertValues(6, u"Libero"_s, 600, At(2000, 4, 15, 13), At(2000, 4, 15, 12));
    }
    TDataUnits log;
};

using Query = void (TDataUnits::*)(TDataUnitsItems&, TDateTime, TDateTime) const;

} // namespace

TEST_F(QueriesTest, RangeAndGroups)
{
    const TDateTime march1 = At(2000, 3, 1, 9), march2 = At(2000, 3, 2);
    struct Case {
        const char* what;
        Query query;
        TDateTime upper, lower;
        std::vector<Group> expected;
    } cases[] = {
        {"range: -1 takes every record", &TDataUnits::SelectRange, 0, -1,
         {{At(1999, 3, 10, 10), 1800, 2, 200, u"Tiscali"_s},
          {march1, 600, 1, 100, u"tiscali"_s},
          {At(2000, 3, 1, 23, 50), 1800, 3, 300, u"Libero"_s},
          {march2, 300, 1, 50, u"TISCALI"_s},
          {At(2000, 4, 15, 12), 3600, 6, 600, u"Libero"_s}}},
        {"range: both bounds included", &TDataUnits::SelectRange, march2, march1,
         {{march1, 600, 1, 100, u"tiscali"_s},
          {At(2000, 3, 1, 23, 50), 1800, 3, 300, u"Libero"_s},
          {march2, 300, 1, 50, u"TISCALI"_s}}},
        {"range: 0 is a bound like any other", &TDataUnits::SelectRange, At(1999, 12, 31), 0,
         {{At(1999, 3, 10, 10), 1800, 2, 200, u"Tiscali"_s}}},
        {"days", &TDataUnits::SumByDay, 0, 0,
         {{At(1999, 3, 10, 10), 1800, 2, 200, u"Tiscali"_s},
          {march1, 2400, 4, 400, u"tiscali"_s},
          {march2, 300, 1, 50, u"TISCALI"_s},
          {At(2000, 4, 15, 12), 3600, 6, 600, u"Libero"_s}}},
        {"days within bounds", &TDataUnits::SumByDay, march2, At(2000, 3, 1, 23, 50),
         {{At(2000, 3, 1, 23, 50), 1800, 3, 300, u"Libero"_s}, {march2, 300, 1, 50, u"TISCALI"_s}}},
        {"days: -1 is a bound, not every record", &TDataUnits::SumByDay, 0, -1, {}},
        {"months: March of two years", &TDataUnits::SumByMonth, 0, 0,
         {{At(1999, 3, 10, 10), 1800, 2, 200, u"Tiscali"_s},
          {march1, 2700, 5, 450, u"tiscali"_s},
          {At(2000, 4, 15, 12), 3600, 6, 600, u"Libero"_s}}},
        {"years", &TDataUnits::SumByYear, 0, 0,
         {{At(1999, 3, 10, 10), 1800, 2, 200, u"Tiscali"_s}, {march1, 6300, 11, 1050, u"tiscali"_s}}},
        {"connections: case ignored, first name kept", &TDataUnits::SumByConnection, 0, 0,
         {{At(1999, 3, 10, 10), 2700, 4, 350, u"Tiscali"_s}, {At(2000, 3, 1, 23, 50), 5400, 9, 900, u"Libero"_s}}},
        {"connections within bounds", &TDataUnits::SumByConnection, march2, march1,
         {{march1, 900, 2, 150, u"tiscali"_s}, {At(2000, 3, 1, 23, 50), 1800, 3, 300, u"Libero"_s}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDataUnitsItems result;
        result.Add()->SetN(u"left from the last query"_s);
        (log.*c.query)(result, c.upper, c.lower);
        EXPECT_EQ(groups(result), c.expected);
    }
}

TEST_F(QueriesTest, ResultsLeadBackToTheLogRecords)
{
    TDataUnitsItems result;
    log.SumByConnection(result, 0, 0);
    ASSERT_EQ(result.Count(), 2);
    EXPECT_EQ(result[1]->Origin(), log.Units()[2]);
    EXPECT_EQ(log.Units().IndexOfConnection(u"tIsCaLi"_s), 0);
    EXPECT_EQ(log.Units().IndexOfConnection(u"Tele2"_s), -1);
    EXPECT_EQ(log.Units()[0]->Origin(), nullptr);
}

TEST_F(QueriesTest, TodaySummaryFollowsTheLog)
{
    Locale::setSeparators(u',', u'.');
    clock.setNow(At(2000, 4, 15, 18));
    EXPECT_EQ(log.TodaySummary(), u"Durata: 1 h 0 min 0 sec - Spesa: 600"_s);
    log.AddConnection(Connection(At(2000, 4, 15, 17), At(2000, 4, 15, 17, 30, 10), 20, 1500.4, u"Libero"_s));
    EXPECT_EQ(log.TodaySummary(), u"Durata: 1 h 30 min 10 sec - Spesa: 2.100"_s);
    clock.setNow(At(2000, 4, 16, 0, 0, 1));
    EXPECT_EQ(log.TodaySummary(), QString());
    Locale::resetSeparators();
}
