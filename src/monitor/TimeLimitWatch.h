#pragma once

#include "common/DateTime.h"
#include "common/Dialogs.h"

#include <QObject>

namespace vestrel {

class TDisconnection;
class TStatus;
class Timer;

// The once-a-second watch over a counted connection: the hour the user scheduled (optionally
// followed by powering the machine off), then the entry's maximum duration, else the profile's.
// A limit that fires disables the watch, so a "No" to its question leaves the connection running
// without asking again until the watch is started again.
class TTimeLimitWatch : public QObject {
public:
    TTimeLimitWatch(TStatus& status, TDisconnection& disconnection, QObject* owner = nullptr);

    // Started when counting starts and when a dial-up line comes online; stopped when a
    // connection has been logged.
    void Start();
    void Stop();
    bool IsEnabled() const;
    // "TimerDisconnessione", 1000 ms.
    Timer* WatchTimer() const { return m_timer; }

    // One look at the limits; nothing unless a connection is being counted.
    void Check();

private:
    bool scheduledHourReached();
    // True when the limit was due and has been handled.
    bool applyLimit(bool autoDisconnect, qint64 timeOutSeconds, bool askDisconnect);
    // A yes/no question with the live status's QuestionPending set meanwhile.
    DialogAnswer askQuestion(const QString& text);

    TStatus& m_status;
    TDisconnection& m_disconnection;
    Timer* m_timer;
    // The scheduled moment a power-off was already asked for: a connection that will not stop
    // keeps the hour due, and the machine is asked to go down once, not every second.
    TDateTime m_shutdownAskedFor = 0;
};

} // namespace vestrel
