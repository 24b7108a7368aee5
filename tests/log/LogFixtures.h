#pragma once

#include "log/DataUnits.h"

#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>


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
