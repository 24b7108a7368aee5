#pragma once

// The live status and state machine of StatusFixture with a dial-up monitor over a scripted
// service, the disconnection, the dialler and the time-limit watch, wired as the data module
// wires them.

#include "StatusFixture.h"

#include "monitor/Dialer.h"
#include "monitor/Disconnection.h"
#include "monitor/RasControl.h"
#include "monitor/TimeLimitWatch.h"

#include "platform/SimulatedDialUp.h"

namespace vestrel::testing {

class DialerFixture : public StatusFixture {
protected:
    DialerFixture()
    {
        platform::DialUpService::setInstance(&dialUp);
        ras.SetHangUpPause([](int) {});
        ras.OnRasDialing = [](TRasControl*) { SendMtxEvent(TMtxEvent::RasDialing); };
        ras.OnRasConnecting = [](TRasControl*) { SendMtxEvent(TMtxEvent::RasConnecting); };
        ras.OnRasOnLine = [this](TRasControl* r) {
            SendMtxEvent(TMtxEvent::RasConnected);
            status.SetEntryName(r->ActiveConnectionName());
            dialer.Close();
            watch.Start();
        };
        ras.OnRasOffLine = [](TRasControl*) { SendMtxEvent(TMtxEvent::RasIdle); };
        ras.OnRasError = [this](TRasControl*, int anError, int lastState) {
            status.SetLastRasFailure(anError, lastState);
            if (dialer.IsOpen())
                dialer.DialError(anError, lastState);
            if (IsMtxState(TMtxState::RasDialing))
                status.ResolveRasFailure();
            else
                SendMtxEvent(TMtxEvent::RasError);
        };
        ras.OnRasLineBusy = [this](TRasControl*) {
            SendMtxEvent(TMtxEvent::RasIdle);
            if (dialer.IsOpen())
                dialer.LineBusy();
        };
        ras.OnRasEvent = [this](TRasControl*, const QString& text) {
            if (dialer.IsOpen())
                dialer.DialProgress(text);
        };
        status.OnDialRequested = [this](TStatus*, const QString& entry, int delayMs) {
            dialer.DialRequested(entry, delayMs);
        };
        status.OnCountingStarted = [this](TStatus*) { watch.Start(); };
        status.OnConnectionLogged = [this](TStatus*, const TConnectionData&) { watch.Stop(); };
        ras.SetCheckBusy(true);
    }

    ~DialerFixture() override { platform::DialUpService::setInstance(nullptr); }

    // A phonebook entry with a saved login (or none), on a tariff.
    void addEntry(const QString& name, bool passwordSaved = true, const QString& taxName = u"Telecom - TAT Urbana"_s)
    {
        dialUp.addEntry(name, {u"mario"_s, passwordSaved ? u"segreta"_s : QString(), passwordSaved});
        dialUp.setEntryProperties(name, {u"12345"_s, u"02"_s, 39, true});
        settings.Entrys().FindOrAdd(name, keRAS)->SetTaxName(taxName);
    }

    // The names dialled so far.
    QStringList dialled() const
    {
        QStringList names;
        for (const auto& d : dialUp.dials())
            names.append(d.entry);
        return names;
    }

    std::vector<QString> noticeTexts() const
    {
        std::vector<QString> texts;
        for (const auto& n : notices.shown)
            texts.push_back(n.text);
        return texts;
    }

    bool noticed(const QString& text) const
    {
        const auto texts = noticeTexts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    platform::SimulatedDialUp dialUp;
    TRasControl ras{dialUp};
    TDisconnection disconnection{ras};
    TDialer dialer{status, ras, disconnection};
    TTimeLimitWatch watch{status, disconnection};
};

} // namespace vestrel::testing
