#pragma once

#include "monitor/CheckInternationalThread.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace vestrel {

class TDataShare;
class TSettings;
class TfmWaitRas;

// The windows of dialling and disconnecting, for the main window. Constructed once after the
// data module, it takes over these hooks and keeps them until it is destroyed:
//   - the dialler's OnShow, OnChanged, OnClose, OnDialError and AskPassword: the dial window
//     (TfmWaitRas) is created at the first dial, reused while it exists, refreshed from the
//     dialler on every change and released when the dialler closes; a failed dial beeps and, when
//     the dialler says so, comes to the foreground; a dial without a saved password asks for it
//     with the modal TfmAskPassword;
//   - the live status's OnInternationalNumber: the international-number warning opens as soon as
//     the handler that changed the number has returned (a modal window must not hold up the
//     dial-up and line events that set the number).
// The main window calls:
//   - IsDialWindowVisible() / BringDialWindowToFront(), for the "Connessioni" menu and the like;
//   - RefreshDialWindow() from its OnTaxChanged handler, so the dial window shows the new tariff;
//   - OpenScheduleDialog() for "Disconnetti a&lle..." (nothing happens while it is open);
//   - ShowInternationalWarning(entry, number) to warn by hand; FoundHandler() as the handler of
//     its TCheckInternationalThread (the warning is modal; the worker waits for it).
// Double-clicking the tariff in the dial window calls `openTariffChooser`.
class DialWindows : public QObject {
public:
    DialWindows(TDataShare& data, TSettings& settings, std::function<void()> openTariffChooser,
                QObject* owner = nullptr);
    ~DialWindows() override;

    bool IsDialWindowVisible() const;
    void BringDialWindowToFront();
    void RefreshDialWindow();
    // The dial window while it exists.
    TfmWaitRas* DialWindow() const;

    void OpenScheduleDialog();

    // Without an entry the warning is about the number the live status is dialling.
    void ShowInternationalWarning(const QString& entry = {}, const QString& number = {});
    // Does nothing once this object is gone.
    TCheckInternationalThread::FoundHandler FoundHandler();

private:
    void showDialWindow();
    void closeDialWindow();

    TDataShare& m_data;
    TSettings& m_settings;
    std::function<void()> m_openTariffChooser;
    QPointer<TfmWaitRas> m_waitRas;
    // Every dial window made, also those waiting for their release: none outlives the dialler.
    std::vector<QPointer<TfmWaitRas>> m_made;
};

} // namespace vestrel
