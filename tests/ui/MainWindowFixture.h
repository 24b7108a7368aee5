#pragma once

// The main window over the data module of DataModuleFixture, wired as the program's start-up
// wires it (without the skins, which have tests of their own), with the program's built-in
// tariffs.

#include "ui/MainMenu.h"
#include "ui/MainWindow.h"
#include "ui/NoteBalloon.h"
#include "ui/NotifyIcon.h"
#include "ui/TrayBalloons.h"

#include "common/Timer.h"
#include "config/EntryItem.h"
#include "monitor/MatrixStatus.h"
#include "support/DataModuleFixture.h"

#include <QLabel>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

class MainWindowFixture : public DataModuleFixture {
protected:
    explicit MainWindowFixture(TDateTime start = EncodeDateTime(2001, 3, 14, 10, 0, 0))
        : DataModuleFixture(start)
    {
        // The balloons install themselves as the notices; the tests read the recorded ones.
        Notices::setInstance(&notices);
        window = std::make_unique<TfmMain>(MainContext{*data, settings, taxations, log, balloons});
        MainWindowCommands commands;
        commands.taxChooser = [this] { ++chooserOpened; };
        window->SetCommands(commands);
        window->WireStatus();
    }

    ~MainWindowFixture() override { window.reset(); }

    QString label(const QString& name) { return window->Label(name)->text(); }

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

    TrayBalloons balloons;
    std::unique_ptr<TfmMain> window;
    int chooserOpened = 0;
};

} // namespace vestrel::testing
