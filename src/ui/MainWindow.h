#pragma once

#include "FigureLabels.h"
#include "widgets/FishIcons.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QAbstractButton;
class QLabel;

namespace vestrel {

class ConnectionReactions;
struct SkinChangeHooks;
class MainMenu;
class TCheckInternationalThread;
class TDataShare;
class TDataSkins;
class TDataUnits;
class TNotifyIcon;
class TSettings;
class TTaxations;
class TTaxItem;
class Timer;
class TrayBalloons;

// What the main window shows and commands; none is owned.
struct MainContext {
    TDataShare& data;
    TSettings& settings;
    TTaxations& taxations;
    TDataUnits& log;
    TrayBalloons& balloons;
};

// The windows the main window opens, provided by their own parts of the program. An empty
// function leaves its command doing nothing.
struct MainWindowCommands {
    std::function<void()> about;
    std::function<void()> taxChooser;
    std::function<void()> refreshTaxWindows;
    std::function<void()> scheduleDisconnection;
    std::function<void(const QString& entry, const QString& number)> internationalFound;
    // The close request; false keeps the program open.
    std::function<bool()> close;
};

// The program's floating window ("fmMain"): borderless, on top of the others, without a taskbar
// entry; the figures of the running connection, the buttons and popup menu, the tray icon, and
// the reactions to the live status. Dragged by the left button anywhere on it.
class TfmMain : public QWidget {
public:
    explicit TfmMain(const MainContext& context);
    ~TfmMain() override;

    void SetCommands(MainWindowCommands commands) { m_commands = std::move(commands); }
    void SetSkins(TDataSkins* skins) { m_skins = skins; }

    // The start-up steps that belong to the window (in the program's order).
    void ShowTrayIcon();
    void ConfigureBalloons();
    void ShowStoredFigures();
    void BuildConnectionsMenu();
    void BuildSkinsMenu();
    void WireStatus();
    // The live status forgets this window's handlers (the window goes before the data module).
    void UnwireStatus();
    // The skin store's events: the built-in skins when it is empty, the labels after a change.
    void WireSkins();
    // The first activation: the timers, the monitors and the start-entry dial.
    void FirstActivation();
    bool StartUpPhase() const { return m_startUpPhase; }

    // Commands.
    void Start();
    void ToggleHidden();
    void ApplyHidden(bool hidden);
    bool IsHiddenByUser() const { return m_hidden; }
    void CopyIp();
    void Disconnect();
    // Which skin the window wears: the tariff's, else the profile's.
    void ApplyCurrentSkin();

    MainMenu& Menu() const { return *m_menu; }
    TNotifyIcon& Tray() const { return *m_tray; }
    FigureLabels& Figures() { return m_figures; }
    QLabel* Label(const QString& name) const;
    QAbstractButton* Button(const QString& name) const;
    Fish BandFish() const { return m_bandFish; }
    Fish ShownFish() const { return m_shownFish; }
    Timer* SystemTimer() const { return m_timerSystem; }
    Timer* MinimizeTimer() const { return m_timerMinimize; }
    // Refreshes the popup menu's items from the state of the connection.
    void UpdateMenu();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createFigures();
    void createButtons();
    void wireCommands();
    void systemTick();
    void endOfStartUp();
    void setBandFish(Fish fish);
    void rememberSkinPosition();
    SkinChangeHooks skinHooks();
    void trayMouseMove();
    void onDayChanged();
    void onTaxChanged(TTaxItem* previous);
    void onConnected();
    void onConnectionLogged();

    MainContext m_ctx;
    MainWindowCommands m_commands;
    TDataSkins* m_skins = nullptr;
    std::map<QString, QLabel*> m_labels;
    std::map<QString, QAbstractButton*> m_buttons;
    FigureLabels m_figures;
    MainMenu* m_menu;
    TNotifyIcon* m_tray;
    Timer* m_timerSystem;
    Timer* m_timerHideTask;
    Timer* m_timerMinimize;
    std::unique_ptr<ConnectionReactions> m_reactions;
    std::unique_ptr<TCheckInternationalThread> m_international;

    bool m_hidden = false;
    bool m_dragging = false;
    QPoint m_dragOrigin;
    QString m_lastBandText;
    bool m_redrawBytes = false;
    bool m_startUpPhase = true;
    bool m_activated = false;
    Fish m_bandFish = Fish::Green;
    Fish m_shownFish = Fish::Green;
};

} // namespace vestrel
