#pragma once

#include "common/ProcessValues.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace vestrel {

class ExceptionReporter;
class TDataShare;
class TDataSkins;
class TDataUnits;
class TOnlyOne;
class TSettings;
class TTaxations;
class TfmMain;
class TrayBalloons;
class ProgramWindows;

// The whole program of one process, created in the order the program needs: the balloons and the
// stores (not yet bound), the data module, the main window and the skins, then the instance
// check; a normal start binds the stores, chooses the profile and the tariff and starts the line
// monitor; the first show of the main window starts the timers and monitors.
class Program : public QObject {
public:
    Program();
    ~Program() override;

    // The start in the given mode with the program's arguments (without the executable). False
    // when the process is to end at once (another copy runs, or a mode that only says something).
    bool Start(TStartMode mode, const QStringList& arguments);

    // A close request from the menu, the window or the desktop session; true when the program
    // is closing.
    bool Close(bool sessionEnding);

    TfmMain& MainWindow() const { return *m_window; }
    TDataShare& Data() const { return *m_data; }
    TSettings& Settings() const { return *m_settings; }
    TTaxations& Taxations() const { return *m_taxations; }
    TDataUnits& Log() const { return *m_log; }
    TDataSkins& Skins() const { return *m_skins; }
    TOnlyOne& Guard() const { return *m_guard; }

private:
    void createSharedObjects();
    void normalStart(const QStringList& arguments);
    void bindStores();
    void chooseProfile(const QStringList& arguments);
    void chooseTariff();
    void notifyRun(quint32 first, quint32 second);

    std::unique_ptr<TrayBalloons> m_balloons;
    std::unique_ptr<TSettings> m_settings;
    std::unique_ptr<TTaxations> m_taxations;
    std::unique_ptr<TDataUnits> m_log;
    std::unique_ptr<TDataShare> m_data;
    std::unique_ptr<ExceptionReporter> m_reporter;
    std::unique_ptr<TfmMain> m_window;
    std::unique_ptr<TDataSkins> m_skins;
    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<TOnlyOne> m_guard;
    bool m_closing = false;
};

} // namespace vestrel
