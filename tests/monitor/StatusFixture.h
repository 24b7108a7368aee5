#pragma once

// A live status wired to a state machine as the data module wires them, on a fake clock.

#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"

#include "config/Settings.h"
#include "log/DataUnits.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"
#include "support/RecordingSounds.h"
#include "support/ScriptedDialogs.h"
#include "tariff/TariffFixtures.h"
#include "tariff/Taxations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vestrel::testing {

class StatusFixture : public ::testing::Test {
protected:
    StatusFixture() : clock(EncodeDateTime(2001, 3, 14, 10, 0, 0)) // a Wednesday
    {
        status.SetTaxations(&taxations);
        status.SetLog(&log);
        machine.OnStartCounting = [this](TMtxMatrixStatus*) { status.StartCounting(); };
        machine.OnStartPreCounting = [this](TMtxMatrixStatus*) { status.StartPreCounting(true); };
        machine.OnStopCounting = [this](TMtxMatrixStatus*) { status.StopCounting(); };
        machine.OnResponding = [this](TMtxMatrixStatus*) { status.Responding(); };
        machine.OnChangeState = [this](TMtxMatrixStatus*, TMtxState, TMtxEvent) {
            if (machine.State() == TMtxState::Idle)
                status.ResetCounters();
        };
        SetMtxMatrixStatus(&machine, nullptr);
        SetCurrentStatus(&status);
        settings.SetFileName(dir.filePath(u"Settings.dat"_s));
        taxations.SetFileName(dir.filePath(u"Taxations.dat"_s));
        status.SetProfile(settings.Profiles()[0]);
    }

    ~StatusFixture() override
    {
        SetCurrentStatus(nullptr);
        SetMtxMatrixStatus(nullptr, nullptr);
    }

    void bindStatus() { status.SetFileName(dir.filePath(u"Status.dat"_s)); }

    TTaxItem* tax(const QString& name) { return taxations.FindTax(name); }

    // Seconds pass one by one, as the clock ticks them.
    void seconds(int count) { clock.advance(qint64(count) * 1000); }

    FakeClock clock;
    ScriptedDialogs dialogs;
    RecordingNotices notices;
    RecordingSounds sounds;
    QTemporaryDir dir;
    TSettings settings;
    TTaxations taxations;
    TDataUnits log;
    TStatus status{&settings};
    TMtxMatrixStatus machine;
};

} // namespace vestrel::testing
