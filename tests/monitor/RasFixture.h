#pragma once

#include "monitor/RasControl.h"

#include "platform/SimulatedDialUp.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace vestrel::testing {

// A still clock, a scripted dial-up service (also the process one) and a monitor over it whose
// events and failure texts are logged in order. HangUp's pauses advance the clock.
class RasTest : public ::testing::Test {
protected:
    RasTest()
    {
        platform::DialUpService::setInstance(&dialUp);
        SetRasFailureReporter([this](const QString& text) { failures.append(text); });
        ras.SetHangUpPause([this](int ms) { clock.advance(ms); });
        auto log = [this](const char* name) {
            return [this, name](TRasControl*) { events.append(QString::fromLatin1(name)); };
        };
        ras.OnRasOffLine = log("OffLine");
        ras.OnRasOnLine = log("OnLine");
        ras.OnRasConnecting = log("Connecting");
        ras.OnRasDialing = log("Dialing");
        ras.OnRasLineBusy = log("LineBusy");
        ras.OnWrongPassword = log("WrongPassword");
        ras.OnRasConnectDevice = log("ConnectDevice");
        ras.OnRasDeviceConnected = log("DeviceConnected");
        ras.OnRasChangeConnectionsNumber = [this](TRasControl* r) {
            events.append(QStringLiteral("Count ") + QString::number(r->ConnectionsCount()));
        };
        ras.OnRasError = [this](TRasControl*, int error, int lastState) {
            events.append(QStringLiteral("Error ") + QString::number(error) + u' ' + QString::number(lastState));
        };
        ras.OnRasEvent = [this](TRasControl*, const QString& text) { events.append(QStringLiteral("Event ") + text); };
    }
    ~RasTest() override
    {
        SetRasFailureReporter(nullptr);
        platform::DialUpService::setInstance(nullptr);
    }

    // Events since the last call.
    QStringList take() { return std::exchange(events, {}); }

    FakeClock clock;
    platform::SimulatedDialUp dialUp;
    TRasControl ras{dialUp};
    QStringList events;
    QStringList failures;
};

} // namespace vestrel::testing
