#include "monitor/TapiControl.h"
#include "monitor/TapiMonitorStart.h"

#include "common/VestrelError.h"
#include "config/Settings.h"
#include "platform/SimulatedLine.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

namespace CS = LineCallState;

// Three devices, of which the voice-only one is neither offered nor can be watched.
class TapiTest : public ::testing::Test {
protected:
    TapiTest()
    {
        auto log = [this](const char* name) {
            return [this, name](TTapiControl*, const TCallInfo& info) {
                events.append(QString::fromLatin1(name) + u' ' + info.CallNumber + u' ' + info.AppName +
                              u' ' + QString::number(info.Rate));
            };
        };
        tapi.OnDialing = log("Dialing");
        tapi.OnConnected = log("Connected");
        tapi.OnDisconnected = log("Disconnected");
        tapi.OnProceeding = log("Proceeding");
        tapi.OnError = [this](TTapiControl*, const QString& text) { errors.append(text); };
        tapi.OnCallbackException = [this](const VestrelError& e) { exceptions.append(e.message()); };
        tapi.OnChangeLineState = [this](TTapiControl*, const QString& text, quint64, qint64, qint64, qint64) {
            states.append(text);
        };
    }

    void monitorDataModem() { tapi.StartMonitor(tapi.Devices().at(0)); }

    FakeClock clock;
    SimulatedLine line{{{u"Modem dati"_s, LineMediaMode::DataModem},
                        {u"Telefono"_s, LineMediaMode::InteractiveVoice},
                        {u"Modem misto"_s, LineMediaMode::Mixed}}};
    TTapiControl tapi{line};
    QStringList events;
    QStringList errors;
    QStringList exceptions;
    QStringList states;
};

LineCallInfo callOf(const QString& number, const QString& app, qint32 rate = 0)
{
    LineCallInfo info;
    info.displayableAddress = number;
    info.appName = app;
    info.rate = rate;
    return info;
}

TEST_F(TapiTest, OffersOnlyDevicesForDataOrMixedCalls)
{
    const TDeviceList& devices = tapi.Devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].Name, u"Modem dati"_s);
    EXPECT_EQ(devices[1].Id, 2);
    EXPECT_EQ(tapi.IndexOfDevice(u"MODEM MISTO"_s), 1);
    EXPECT_EQ(tapi.IndexOfDevice(u"Telefono"_s), -1);
    EXPECT_TRUE(line.isInitialized());
}

TEST_F(TapiTest, DeviceThatCannotTellItsCapabilitiesIsLeftOut)
{
    line.failNext(SimulatedLine::Operation::DeviceCaps, LineErrOperationFailed);
    ASSERT_EQ(tapi.Devices().size(), 1u);
    EXPECT_EQ(tapi.Devices()[0].Name, u"Modem misto"_s);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TapiTest, NoDevicesIsAFailure)
{
    SimulatedLine empty;
    TTapiControl bare(empty);
    QStringList seen;
    bare.OnError = [&](TTapiControl*, const QString& text) { seen.append(text); };
    EXPECT_THROW(bare.Devices(), VestrelError);
    bare.SetRaiseOnError(false);
    EXPECT_TRUE(bare.Devices().empty());
    EXPECT_EQ(seen, QStringList(2, u"Non sono configurati dispositivi TAPI"_s));
}

TEST_F(TapiTest, VoiceOnlyDeviceCannotBeWatched)
{
    try {
        tapi.StartMonitor({1, u"Telefono"_s});
        FAIL() << "no exception";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Fallita la StartMonitorDevice su Telefono Fallita la lineOpen: "_s +
                                   StandardLineErrorText(LineErrInvalMediaMode));
    }
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(tapi.MonitoredDevice());
    EXPECT_EQ(line.monitoredDevice(), -1);
}

TEST_F(TapiTest, TwoCallsInARow)
{
    monitorDataModem();
    EXPECT_EQ(line.monitoredDevice(), 0);
    const LineCallHandle first = line.addCall(0, callOf(u"0212345"_s, u"Dialer"_s));
    line.setCallState(first, CS::Dialing);
    line.setCallInfo(first, callOf(u"0212345"_s, u"Dialer"_s, 33600));
    line.setCallState(first, CS::Connected);
    line.setCallState(first, CS::Disconnected, LineDisconnectMode::Normal);
    line.setCallState(first, CS::Idle);
    const LineCallHandle second = line.addCall(0, callOf(u"0698765"_s, u"Fax"_s));
    line.setCallState(second, CS::Proceeding);
    line.setCallState(second, CS::Idle);
    EXPECT_EQ(events, (QStringList{u"Dialing 0212345 Dialer 0"_s, u"Connected 0212345 Dialer 33600"_s,
                                   u"Disconnected 0212345 Dialer 33600"_s, u"Disconnected 0212345 Dialer 33600"_s,
                                   u"Proceeding 0698765 Fax 0"_s, u"Disconnected 0698765 Fax 0"_s}));
    EXPECT_EQ(line.deallocated(), (std::vector<LineCallHandle>{first, second})) << "idle releases the call";
    EXPECT_EQ(states.at(1), TTapiControl::CallStateText(CS::Connected) +
                                u" * AppName: Dialer dwLineDeviceID: 0 connesso a 33600"_s);
    EXPECT_EQ(states.at(2), TTapiControl::CallStateText(CS::Disconnected) + u" - "_s +
                                TTapiControl::CallStateModeText(CS::Disconnected, LineDisconnectMode::Normal));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TapiTest, CallInformationKeepsWhatTheLineDoesNotTell)
{
    monitorDataModem();
    QStringList messages;
    tapi.OnNotifyTapiMsg = [&](TTapiControl*, quint64, int msg, qint64 p1, qint64, qint64) {
        messages.append(QString::number(msg) + u':' + QString::number(p1, 16));
    };
    int infos = 0;
    tapi.OnNewCallInfo = [&](TTapiControl*, const TCallInfo&) { ++infos; };
    const LineCallHandle call = line.addCall(0, callOf(u"0212345"_s, u"Dialer"_s));
    line.setCallState(call, CS::Dialing);
    LineCallInfo partial;
    partial.appName = QString();
    partial.rate = 28800;
    line.setCallInfo(call, partial);
    EXPECT_EQ(infos, 1);
    EXPECT_EQ(tapi.CallInfo().CallNumber, u"0212345"_s) << "absent: the previous number stays";
    EXPECT_EQ(tapi.CallInfo().AppName, QString()) << "an empty text is a text";
    EXPECT_EQ(tapi.CallInfo().Rate, 28800);
    line.setCallState(call, CS::RingBack);
    line.setCallState(call, 0x10000);
    EXPECT_EQ(messages, (QStringList{u"2:10"_s, u"1:ffffff"_s, u"2:20"_s, u"2:10000"_s}));
    EXPECT_EQ(states.back(), u"*** LINECALLSTATE NON GESTITO ***"_s);
    EXPECT_EQ(events.size(), 1) << "ring back raises no call event";
}

TEST_F(TapiTest, MessagesAreIgnoredOnceMonitoringStops)
{
    monitorDataModem();
    const LineCallHandle call = line.addCall(0, callOf(u"0212345"_s, u"Dialer"_s));
    tapi.StopMonitor();
    line.setCallState(call, CS::Dialing);
    tapi.StartMonitor(tapi.Devices().at(1));
    line.setCallState(call, CS::Connected);
    EXPECT_TRUE(events.isEmpty()) << "the call is on another device";
    EXPECT_EQ(line.monitoredDevice(), 2);
}

TEST_F(TapiTest, CallAlreadyGoneIsOnlyANote)
{
    monitorDataModem();
    const LineCallHandle call = line.addCall(0, callOf(u"0212345"_s, u"Dialer"_s));
    line.setCallState(call, CS::Dialing);
    line.failNext(SimulatedLine::Operation::CallInfo, LineErrInvalCallHandle);
    line.setCallState(call, CS::Connected);
    EXPECT_EQ(errors, QStringList{u"Fallita la lineGetCallInfo: "_s + StandardLineErrorText(LineErrInvalCallHandle)});
    EXPECT_EQ(events.back(), u"Connected 0212345 Dialer 0"_s);
    EXPECT_TRUE(exceptions.isEmpty());
}

TEST_F(TapiTest, FailureInsideAMessageReachesTheApplicationAndReleasesTheCall)
{
    monitorDataModem();
    const LineCallHandle call = line.addCall(0, callOf(u"0212345"_s, u"Dialer"_s));
    line.failNext(SimulatedLine::Operation::CallInfo, LineErrOperationFailed);
    line.setCallState(call, CS::Connected);
    const QString failure = u"Fallita la lineGetCallInfo: "_s + StandardLineErrorText(LineErrOperationFailed);
    EXPECT_EQ(errors, QStringList{failure});
    EXPECT_EQ(exceptions, QStringList{u"Eccezione nella LineCallBack "_s + failure});
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(line.deallocated(), std::vector<LineCallHandle>{call});

    // A handler that fails on idle: the call is still released, once.
    const LineCallHandle next = line.addCall(0, callOf(u"02"_s, u"Dialer"_s));
    tapi.OnDisconnected = [](TTapiControl*, const TCallInfo&) { throw VestrelError(u"guasto"_s); };
    line.setCallState(next, CS::Idle);
    EXPECT_EQ(exceptions.back(), u"Eccezione nella LineCallBack guasto"_s);
    EXPECT_EQ(line.deallocated(), (std::vector<LineCallHandle>{call, next}));
}

TEST_F(TapiTest, ScriptedCallArrivesOnTheClock)
{
    monitorDataModem();
    line.scriptCall(0, callOf(u"0212345"_s, u"Dialer"_s, 56000),
                    {{1000, CS::Dialing}, {3000, CS::Connected}, {63000, CS::Idle}});
    clock.advance(2000);
    EXPECT_EQ(events, QStringList{u"Dialing 0212345 Dialer 56000"_s});
    clock.advance(70000);
    EXPECT_EQ(events.size(), 3);
}

struct StartRow {
    const char* name;
    const char* deviceName;
    bool devices;
    bool openFails;
    const char* expectedName;
    const char* notice; // nullptr: none
    int monitored;
};

class StartTapiMonitorRows : public TapiTest, public ::testing::WithParamInterface<StartRow> {};

TEST_P(StartTapiMonitorRows, SettlesTheDeviceName)
{
    const StartRow& row = GetParam();
    SimulatedLine empty;
    TTapiControl bare(empty);
    TTapiControl& control = row.devices ? tapi : bare;
    if (row.openFails)
        line.failNext(SimulatedLine::Operation::Open, LineErrOperationFailed);
    RecordingNotices notices;
    TSettings settings;
    settings.SetDeviceName(QString::fromUtf8(row.deviceName));
    StartTapiMonitor(control, settings, true);
    EXPECT_EQ(settings.DeviceName(), QString::fromUtf8(row.expectedName));
    if (row.notice) {
        ASSERT_EQ(notices.shown.size(), 1u);
        EXPECT_EQ(notices.shown[0].text, QString::fromUtf8(row.notice));
    } else {
        EXPECT_TRUE(notices.shown.empty());
    }
    EXPECT_EQ(line.monitoredDevice(), row.monitored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartTapiMonitorRows,
    ::testing::Values(
        StartRow{"Blank", " ", true, false, "(Nessuno)", nullptr, -1},
        StartRow{"FoundIgnoringCase", "modem MISTO", true, false, "Modem misto", "Monitoraggio modem Modem misto avviato", 2},
        StartRow{"NoLongerThere", "Vecchio modem", true, false, "Vecchio modem", nullptr, -1},
        StartRow{"OpenFails", "Modem dati", true, true, "(Nessuno)",
                 "Impossibile monitorare il modem Modem dati\r[Fallita la StartMonitorDevice su Modem dati "
                 "Fallita la lineOpen: The operation failed for an unspecified reason.]", -1},
        StartRow{"NoDevicesAtAll", "Modem dati", false, false, "(Nessuno)",
                 "Impossibile monitorare il modem Modem dati\r[Non sono configurati dispositivi TAPI]", -1},
        StartRow{"NoDevicesAndNoneChosen", "(Nessuno)", false, false, "(Nessuno)", nullptr, -1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(TapiTest, StopTapiMonitorSaysSo)
{
    monitorDataModem();
    RecordingNotices notices;
    StopTapiMonitor(tapi);
    EXPECT_EQ(line.monitoredDevice(), -1);
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, u"Monitoraggio modem terminato"_s);
}

} // namespace
