#pragma once

#include <QString>

namespace vestrel {

class TSettings;
class TTapiControl;

// The settings' device name when no line device is to be watched.
QString NoDeviceName();

// Watches the device named by the settings' DeviceName (a blank name becomes "(Nessuno)"; the
// name is corrected to the device's exact spelling). With `notify` a notice tells that it
// started. A failure is a notice, and DeviceName becomes "(Nessuno)"; a device that no longer
// exists leaves everything as it was.
void StartTapiMonitor(TTapiControl& tapi, TSettings& settings, bool notify);
// Stops watching, with a notice; a failure is ignored.
void StopTapiMonitor(TTapiControl& tapi);

} // namespace vestrel
