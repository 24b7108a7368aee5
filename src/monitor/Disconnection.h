#pragma once

#include "common/DateTime.h"

#include <QString>

#include <optional>

namespace vestrel {

class TDialer;
class TRasControl;
class TStatus;

// The one way every "disconnect" goes: the command, the time limits, the scheduled hour,
// closing the program and cancelling a dial. Dial-up lines are hung up; a line call can only be
// observed, so for it stopping ends the counting alone.
class TDisconnection {
public:
    explicit TDisconnection(TRasControl& ras) : m_ras(ras) {}

    // Stops what is being counted and hangs up every dial-up connection, then closes the
    // program's dialler. A line call asks first when `askTapi` is set.
    void StopConnection(bool askTapi);

    // The dialler closed by a stop; it registers itself.
    TDialer* Dialer() const { return m_dialer; }
    void SetDialer(TDialer* dialer) { m_dialer = dialer; }

private:
    TRasControl& m_ras;
    TDialer* m_dialer = nullptr;
};

// The rules of the window that schedules the disconnection hour.
namespace schedule {

// "Chiudi Linux alla disconnessione", the caption of the power-off choice.
QString ShutdownCaption();
// The moment the pickers show when the window opens: the scheduled one, else now.
TDateTime InitialMoment(const TStatus& status);
// The moment "Fra N ore" gives: now + N hours when the text is a whole number, else none.
std::optional<TDateTime> MomentInHours(const QString& text);
// "OK": the date of one picker with the time of day of the other. A moment not in the future is
// refused with a warning and nothing changes; otherwise it is scheduled with the power-off
// choice and announced. True when the window may close.
bool Schedule(TStatus& status, TDateTime date, TDateTime timeOfDay, bool shutdown);
// "Annulla": no scheduled hour and no power-off.
void Cancel(TStatus& status);

} // namespace schedule

} // namespace vestrel
