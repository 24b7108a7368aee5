#pragma once

// The data module of DataModuleFixture, monitoring, with the dial windows wired to it as the
// main window wires them.

#include "monitor/ui/DialWindows.h"

#include "config/EntryItem.h"
#include "monitor/Dialer.h"
#include "monitor/RasControl.h"
#include "support/DataModuleFixture.h"
#include "widgets/Forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;

// Lays out what changed, as the event loop does before it paints.
inline void LayOut()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Saves a picture of the window when VESTREL_WINDOW_SHOTS names a folder.
inline void SaveShot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VESTREL_WINDOW_SHOTS");
    if (dir.isEmpty() || !window)
        return;
    LayOut();
    window->grab().save(dir + u"/win-"_s + name + u".png"_s);
}

// Runs actions on modal windows as they come up: each action gets the next modal window of its
// type. One left open five seconds after its action is rejected, so a failing test cannot hang.
class ModalScript : public QObject {
public:
    ModalScript()
    {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
    }

    template <class W>
    void then(std::function<void(W*)> action)
    {
        m_actions.push_back([action](QWidget* modal) {
            auto* window = dynamic_cast<W*>(modal);
            if (window)
                action(window);
            return window != nullptr;
        });
        m_poll.start();
    }

    bool done() const { return m_actions.empty(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal == m_last && m_since.elapsed() > 5000) {
            ADD_FAILURE() << "a modal window stayed open: " << modal->objectName().toStdString();
            modal->close();
            return;
        }
        if (modal == m_last || m_actions.empty())
            return;
        if (m_actions.front()(modal)) {
            m_actions.pop_front();
            m_last = modal;
            m_since.start();
        }
    }

    QTimer m_poll;
    std::deque<std::function<bool(QWidget*)>> m_actions;
    QPointer<QWidget> m_last;
    QElapsedTimer m_since;
};

class WindowFixture : public DataModuleFixture {
protected:
    WindowFixture()
    {
        data->Ras().SetHangUpPause([](int) {});
        data->StartMonitoring();
        windows = std::make_unique<DialWindows>(*data, settings, [this] { ++chooserOpened; });
    }

    ~WindowFixture() override { windows.reset(); }

    TDialer& dialer() const { return data->Dialer(); }

    // A phonebook entry with a saved login (or a user name alone) on a tariff.
    void addEntry(const QString& name, bool passwordSaved = true, const QString& taxName = u"Telecom - TAT Urbana"_s)
    {
        dialUp.addEntry(name, {u"mario"_s, passwordSaved ? u"segreta"_s : QString(), passwordSaved});
        dialUp.setEntryProperties(name, {u"12345"_s, u"02"_s, 39, true});
        settings.Entrys().FindOrAdd(name, keRAS)->SetTaxName(taxName);
    }

    std::vector<QString> warnings() const
    {
        std::vector<QString> texts;
        for (const auto& shown : dialogs.shown)
            if (shown.kind == DialogKind::Warning)
                texts.push_back(shown.text);
        return texts;
    }

    bool noticed(const QString& text) const
    {
        for (const auto& n : notices.shown)
            if (n.text == text)
                return true;
        return false;
    }

    std::unique_ptr<DialWindows> windows;
    int chooserOpened = 0;
};

} // namespace vestrel::testing
