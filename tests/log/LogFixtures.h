#pragma once

#include "log/DataUnits.h"

#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace vestrel::testing {

inline TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return EncodeDateTime(y, m, d, h, n, s);
}

inline TConnectionData Connection(TDateTime start, TDateTime end, qint32 pulses = 0, double lire = 0,
                                  const QString& name = {})
{
    TConnectionData c;
    c.Start = start;
    c.End = end;
    c.Pulses = pulses;
    c.Lire = lire;
    c.Name = name;
    return c;
}

// Starts (I) of a list, for comparing orders.
inline std::vector<TDateTime> Starts(const TDataUnitsItems& items)
{
    std::vector<TDateTime> out;
    for (int i = 0; i < items.Count(); ++i)
        out.push_back(items[i]->I());
    return out;
}

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Files may grow no further than `bytes` while it lives: the next write past it fails, as on a
// full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};

// A temporary data directory, a fake clock and scripted dialogs.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    FakeClock clock{At(2000, 1, 1, 12)};
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

} // namespace vestrel::testing
