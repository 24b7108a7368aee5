#pragma once

#include "ui/MainWindow.h"

#include <QPointer>

#include <memory>

namespace vestrel {

class DialWindows;
class Program;
class SoundPlayer;
class TfmAbout;

// The windows the main window opens and the services that belong to them (the sound player),
// gathered so the program's start-up only asks for "the commands" and "bind your stores".
class ProgramWindows {
public:
    explicit ProgramWindows(Program& program);
    ~ProgramWindows();

    MainWindowCommands Commands();
    // The stores of these windows, in the program's bind order after the calendar.
    void BindStores(const QString& directory);
    // A second copy was started: the dial window, if open, comes forward (true).
    bool BringDialWindowToFront();

private:
    void openTaxChooser();

    Program& m_program;
    std::unique_ptr<SoundPlayer> m_sounds;
    std::unique_ptr<DialWindows> m_dialWindows;
    QPointer<TfmAbout> m_about;
};

} // namespace vestrel
