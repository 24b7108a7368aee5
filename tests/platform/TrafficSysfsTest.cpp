#include "platform/ResourcesService.h"
#include "platform/TrafficSysfs.h"
#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

// A folder laid out like /sys/class/net.
class SysfsTree {
public:
    void add(const QString& name, int type, int ifIndex, quint64 tx, quint64 rx,
             const QByteArray& uevent = {})
    {
        const QString d = dir.filePath(name);
        QDir().mkpath(d + u"/statistics"_s);
        write(d + u"/type"_s, QByteArray::number(type) + '\n');
        write(d + u"/ifindex"_s, QByteArray::number(ifIndex) + '\n');
        write(d + u"/uevent"_s, u"INTERFACE="_s.toUtf8() + name.toUtf8() + '\n' + uevent);
        write(d + u"/statistics/tx_bytes"_s, QByteArray::number(tx) + '\n');
        write(d + u"/statistics/rx_bytes"_s, QByteArray::number(rx) + '\n');
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QString root() const { return dir.path(); }

    QTemporaryDir dir;
};

} // namespace

TEST(TrafficSysfs, ListsOnlyPointToPointInterfacesOldestFirst)
{
    SysfsTree tree;
    tree.add(u"lo"_s, 772, 1, 0, 0);
    tree.add(u"eth0"_s, 1, 2, 10, 20);
    tree.add(u"ppp0"_s, 512, 9, 30, 40);
    tree.add(u"wwan0"_s, 1, 4, 50, 60, "DEVTYPE=wwan\n");
    TrafficSysfs traffic(tree.root());
    EXPECT_EQ(traffic.dialUpInterfaces(), (QStringList{u"wwan0"_s, u"ppp0"_s}));
}

TEST(TrafficSysfs, ReadsCountersAndTellsAMissingInterfaceFromAFailure)
{
    SysfsTree tree;
    tree.add(u"ppp0"_s, 512, 9, 1234567890123ULL, 987);
    TrafficSysfs traffic(tree.root());

    const TrafficReading ok = traffic.read(u"ppp0"_s);
    EXPECT_EQ(ok.status, TrafficReading::Status::Ok);
    EXPECT_EQ(ok.ifIndex, 9);
    EXPECT_EQ(ok.bytesSent, 1234567890123ULL) << "counters are 64-bit";
    EXPECT_EQ(ok.bytesReceived, 987u);

    EXPECT_EQ(traffic.read(u"ppp1"_s).status, TrafficReading::Status::Missing);
    EXPECT_EQ(traffic.read(u"../ppp0"_s).status, TrafficReading::Status::Missing);

    SysfsTree::write(tree.dir.filePath(u"ppp0/statistics/rx_bytes"_s), "garbage\n");
    const TrafficReading bad = traffic.read(u"ppp0"_s);
    EXPECT_EQ(bad.status, TrafficReading::Status::Failed);
    EXPECT_TRUE(bad.error.endsWith(u"ppp0/statistics/rx_bytes"_s)) << bad.error.toStdString();
}

TEST(TrafficSysfs, ReadsTheMachinesOwnInterfaces)
{
    if (!QFileInfo::exists(u"/sys/class/net/lo"_s))
        GTEST_SKIP() << "no /sys/class/net here";
    TrafficSysfs traffic;
    EXPECT_EQ(traffic.read(u"lo"_s).status, TrafficReading::Status::Ok) << "entries are links";
    EXPECT_FALSE(traffic.dialUpInterfaces().contains(u"lo"_s));
}

TEST(ResourcesMeminfo, AvailableShareOfMemory)
{
    struct Row {
        const char* name;
        QByteArray text;
        std::optional<int> percent;
    };
    const Row rows[] = {
        {"MemAvailable", "MemTotal:  1000 kB\nMemFree: 10 kB\nMemAvailable:  69 kB\n", 6},
        {"older kernel sums free, buffers and cache",
         "MemTotal: 2000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n", 20},
        {"no total", "MemFree: 100 kB\nMemAvailable: 100 kB\n", std::nullopt},
        {"zero total", "MemTotal: 0 kB\nMemAvailable: 0 kB\n", std::nullopt},
        {"nothing available to tell", "MemTotal: 100 kB\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AvailablePercentOfMeminfo(row.text), row.percent) << row.name;

    EXPECT_EQ(ResourcesMeminfo(u"/nonexistent/meminfo"_s).availablePercent(), std::nullopt);
    const std::optional<int> real = ResourcesMeminfo().availablePercent();
    if (real) {
        EXPECT_TRUE(*real >= 0 && *real <= 100);
    }
}
