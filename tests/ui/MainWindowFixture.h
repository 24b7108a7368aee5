#pragma once

// The main window over a data module on the simulated dial-up and line services, with the
// program's built-in tariffs and a fake clock, as the program's start-up wires it (without the
// skins, which have tests of their own).

#include "ui/MainMenu.h"
#include "ui/MainWindow.h"

#include <QLabel>
#include "ui/NoteBalloon.h"
#include "ui/NotifyIcon.h"
#include "ui/TrayBalloons.h"

#include "common/Dates.h"
#include "common/Timer.h"
#include "config/EntryItem.h"
#include "config/ProfileItem.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "monitor/DataShare.h"
#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"
#include "tariff/Agenda.h"
#include "platform/SimulatedDialUp.h"
#include "platform/SimulatedLine.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"
#include "support/RecordingSounds.h"
#include "support/ScriptedDialogs.h"
#include "tariff/Taxations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(TDateTime start = EncodeDateTime(2001, 3, 14, 10, 0, 0)) : clock(start)
    {
        platform::DialUpService::setInstance(&dialUp);
        platform::LineService::setInstance(&line);
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
        taxations.SetFileName(dir.filePath(u"Taxations.dat"_s));
        log.SetFileName(dir.filePath(u"Connections.dat"_s));
        data = std::make_unique<TDataShare>(settings, taxations, log);
        window = std::make_unique<TfmMain>(MainContext{*data, settings, taxations, log, balloons});
        MainWindowCommands commands;
        commands.taxChooser = [this] { ++chooserOpened; };
        window->SetCommands(commands);
        window->WireStatus();
        data->Agenda().SetFileName(dir.filePath(u"Calendar.dat"_s));
        data->Status().SetFileName(dir.filePath(u"Status.dat"_s));
        data->Status().SetProfile(profile());
    }

    ~MainWindowFixture() override
    {
        window.reset();
        data.reset();
        platform::LineService::setInstance(nullptr);
        platform::DialUpService::setInstance(nullptr);
    }

    TProfileItem* profile() { return settings.Profiles()[0]; }
    TStatus& status() { return data->Status(); }
    QString label(const QString& name) { return window->Label(name)->text(); }
    void seconds(int count) { clock.advance(qint64(count) * 1000); }

    // The start-up as the program runs it: the tariff, the window on screen, the first
    // activation, and the end of the start-up phase five seconds later.
    void startUp(const QString& taxName = u"Telecom - TAT Urbana"_s)
    {
        status().SetTax(taxations.FindTax(taxName));
        window->ShowTrayIcon();
        window->show();
        window->FirstActivation();
        seconds(5);
    }

    int noticesWith(const QString& text) const
    {
        return int(std::count_if(notices.shown.begin(), notices.shown.end(),
                                 [&text](const auto& n) { return n.text == text; }));
    }

    FakeClock clock;
    ScriptedDialogs dialogs;
    TrayBalloons balloons;
    RecordingNotices notices;
    RecordingSounds sounds;
    platform::SimulatedDialUp dialUp;
    platform::SimulatedLine line;
    QTemporaryDir dir;
    TSettings settings;
    TTaxations taxations;
    TDataUnits log;
    std::unique_ptr<TDataShare> data;
    std::unique_ptr<TfmMain> window;
    int chooserOpened = 0;
};

} // namespace vestrel::testing
