#include "DialWindows.h"

#include "FormAskPassword.h"
#include "FormDialogDisconnetti.h"
#include "FormWaitRas.h"
#include "FormWarningInternational.h"

#include "monitor/DataShare.h"
#include "monitor/Dialer.h"
#include "monitor/Status.h"

#include "widgets/Forms.h"

#include <QApplication>

namespace vestrel {

DialWindows::DialWindows(TDataShare& data, TSettings& settings, std::function<void()> openTariffChooser,
                         QObject* owner)
    : QObject(owner), m_data(data), m_settings(settings), m_openTariffChooser(std::move(openTariffChooser))
{
    TDialer& dialer = data.Dialer();
    dialer.AskPassword = &AskPasswordModal;
    dialer.OnShow = [this](TDialer*) { showDialWindow(); };
    dialer.OnChanged = [this](TDialer*) { RefreshDialWindow(); };
    dialer.OnClose = [this](TDialer*) { closeDialWindow(); };
    dialer.OnDialError = [this](TDialer*, bool bringToForeground) {
        QApplication::beep();
        if (bringToForeground)
            BringDialWindowToFront();
    };
    data.Status().OnInternationalNumber = [this](TStatus*, const QString&) {
        QMetaObject::invokeMethod(this, [this] { ShowInternationalWarning(); }, Qt::QueuedConnection);
    };
}

DialWindows::~DialWindows()
{
    TDialer& dialer = m_data.Dialer();
    dialer.AskPassword = [](const TPasswordRequest&) { return TPasswordReply{}; };
    dialer.OnShow = nullptr;
    dialer.OnChanged = nullptr;
    dialer.OnClose = nullptr;
    dialer.OnDialError = nullptr;
    m_data.Status().OnInternationalNumber = nullptr;
    for (const QPointer<TfmWaitRas>& window : m_made)
        delete window.data();
}

bool DialWindows::IsDialWindowVisible() const
{
    return m_waitRas && m_waitRas->isVisible();
}

TfmWaitRas* DialWindows::DialWindow() const
{
    return m_waitRas.data();
}

void DialWindows::BringDialWindowToFront()
{
    if (m_waitRas)
        BringToForeground(m_waitRas.data());
}

void DialWindows::RefreshDialWindow()
{
    if (m_waitRas)
        m_waitRas->Refresh();
}

void DialWindows::OpenScheduleDialog()
{
    vestrel::OpenScheduleDialog(m_data.Status());
}

void DialWindows::ShowInternationalWarning(const QString& entry, const QString& number)
{
    ShowWarningInternational(m_settings, m_data.Status(), entry, number);
}

TCheckInternationalThread::FoundHandler DialWindows::FoundHandler()
{
    return [self = QPointer<DialWindows>(this)](const QString& entry, const QString& number) {
        if (self)
            self->ShowInternationalWarning(entry, number);
    };
}

void DialWindows::showDialWindow()
{
    ShowForm<TfmWaitRas>(m_waitRas, true, [this] {
        std::erase_if(m_made, [](const QPointer<TfmWaitRas>& window) { return window.isNull(); });
        auto* window = new TfmWaitRas(m_data.Dialer(), m_data.Ras(), m_data.Status(), m_openTariffChooser);
        m_made.emplace_back(window);
        return window;
    });
    RefreshDialWindow();
}

void DialWindows::closeDialWindow()
{
    ReleaseFormLater(m_waitRas);
}

} // namespace vestrel
