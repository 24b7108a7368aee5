#pragma once

// The data module over the simulated dial-up and line services, with its stores in a temporary
// folder, the clock fake and every box, note and sound recorded: what the tests of the program's
// windows and start-up build on. Nothing is monitored until a test starts it.

#include "FakeClock.h"
#include "QStringPrinter.h"
#include "RecordingNotices.h"
#include "RecordingSounds.h"
#include "ScriptedDialogs.h"

#include "common/Dates.h"
#include "config/ProfileItem.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "monitor/DataShare.h"
#include "monitor/Status.h"
#include "platform/SimulatedDialUp.h"
#include "platform/SimulatedLine.h"
#include "tariff/Agenda.h"
#include "tariff/Taxations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vestrel::testing {

class DataModuleFixture : public ::testing::Test {
protected:
    // Wednesday 14 March 2001, 10:00, unless told otherwise.
    explicit DataModuleFixture(TDateTime start = EncodeDateTime(2001, 3, 14, 10, 0, 0)) : clock(start)
    {
        using namespace Qt::Literals::StringLiterals;
        platform::DialUpService::setInstance(&dialUp);
        platform::LineService::setInstance(&line);
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
        taxations.SetFileName(dir.filePath(u"Taxations.dat"_s));
        log.SetFileName(dir.filePath(u"Connections.dat"_s));
        data = std::make_unique<TDataShare>(settings, taxations, log);
        data->Agenda().SetFileName(dir.filePath(u"Calendar.dat"_s));
        status().SetProfile(profile());
        status().SetFileName(dir.filePath(u"Status.dat"_s));
    }

    ~DataModuleFixture() override
    {
        data.reset();
        platform::LineService::setInstance(nullptr);
        platform::DialUpService::setInstance(nullptr);
    }

    TStatus& status() const { return data->Status(); }
    TProfileItem* profile() { return settings.Profiles()[0]; }
    // Seconds pass one by one, as the clock ticks them.
    void seconds(int count) { clock.advance(qint64(count) * 1000); }

    int noticesWith(const QString& text) const
    {
        return int(std::count_if(notices.shown.begin(), notices.shown.end(),
                                 [&text](const auto& n) { return n.text == text; }));
    }

    FakeClock clock;
    ScriptedDialogs dialogs;
    RecordingNotices notices;
    RecordingSounds sounds;
    platform::SimulatedDialUp dialUp;
    platform::SimulatedLine line;
    QTemporaryDir dir;
    TSettings settings;
    TTaxations taxations;
    TDataUnits log;
    std::unique_ptr<TDataShare> data;
};

} // namespace vestrel::testing
