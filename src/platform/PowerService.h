#pragma once

#include <QString>

namespace vestrel::platform {

struct PowerOffResult {
    bool ok = false;
    // Why the machine is not going down, in Italian, when it is not.
    QString message;
};

// Ends the desktop session and powers the machine off.
class PowerService {
public:
    virtual ~PowerService() = default;

    // Asks the system to power off; `force` does not wait for applications to agree. Success
    // means the request was accepted: the machine goes down afterwards.
    virtual PowerOffResult powerOff(bool force) = 0;

    // The one installed last, else the default chosen once: logind when the system bus offers
    // it, else PowerUnavailable. VESTREL_POWER=none forces PowerUnavailable (the tests set it,
    // so no test can power the machine off).
    static PowerService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(PowerService* service);
};

// What a system without a power-off backend answers.
QString PowerOffUnavailableText();

// Refuses every request with PowerOffUnavailableText(), never pretending a shutdown.
class PowerUnavailable final : public PowerService {
public:
    PowerOffResult powerOff(bool) override { return {false, PowerOffUnavailableText()}; }
};

} // namespace vestrel::platform

namespace vestrel {

// Powers the machine off through the installed service; a refusal is shown as the error box
// "Impossibile chiudere " + OSName CR "[" message "]". True when the request was accepted.
bool ShutdownWindows(bool force);

} // namespace vestrel
