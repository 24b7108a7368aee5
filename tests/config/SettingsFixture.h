#pragma once

#include "config/Settings.h"
#include "platform/SimulatedDialUp.h"
#include "store/StoreStream.h"
#include "support/TestFiles.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace vestrel::testing {

// A data directory, a still clock, scripted boxes and a dial-up service with no entries.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { platform::DialUpService::setInstance(&dialUp); }
    ~SettingsTest() override { platform::DialUpService::setInstance(nullptr); }

    QString path(const QString& name = QStringLiteral("Settings.dat")) const
    {
        return dir.filePath(name);
    }
    static QByteArray read(const QString& file) { return ReadFile(file); }
    static void write(const QString& file, const QByteArray& bytes) { WriteFile(file, bytes); }
    // The store as the program writes it, without binding it.
    static void writeStore(const QString& file, const store::TPersistentComponent& s)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        store::WriteStore(f, s);
    }

    FakeClock clock{EncodeDateTime(2024, 3, 5, 18, 30, 0)};
    ScriptedDialogs dialogs;
    platform::SimulatedDialUp dialUp;
    QTemporaryDir dir;
};

} // namespace vestrel::testing
