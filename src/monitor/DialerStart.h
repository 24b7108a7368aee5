#pragma once

#include <QObject>

namespace vestrel {

class TRasControl;
class TStatus;
class Timer;

// The automatic dial of the profile's start entry ("TimerDelayRasConnect", 500 ms, one shot).
// When it fires it dials the entry only if it is still a phonebook entry, no dial-up line is
// dialling, connecting or online, and the program was not started with the desktop session;
// that last condition holds once: every firing clears it.
class TStartEntryDial : public QObject {
public:
    TStartEntryDial(TStatus& status, TRasControl& ras, QObject* owner = nullptr);

    // At the end of start-up, and when a second copy wakes this one with no dial open: armed
    // when the current profile's RasStartEntry is a phonebook entry.
    void Arm();
    bool IsArmed() const;
    Timer* DelayTimer() const { return m_timer; }

private:
    void fire();
    QString startEntry() const;

    TStatus& m_status;
    TRasControl& m_ras;
    Timer* m_timer;
};

} // namespace vestrel
