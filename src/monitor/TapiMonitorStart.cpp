#include "TapiMonitorStart.h"

#include "TapiControl.h"

#include "common/Notices.h"
#include "common/VestrelError.h"
#include "config/Settings.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString NoDeviceName()
{
    return u"(Nessuno)"_s;
}

void StartTapiMonitor(TTapiControl& tapi, TSettings& settings, bool notify)
{
    if (settings.DeviceName().trimmed().isEmpty())
        settings.SetDeviceName(NoDeviceName());
    try {
        const int index = tapi.Devices().empty() ? -1 : tapi.IndexOfDevice(settings.DeviceName());
        if (index < 0)
            return;
        const TDevice device = tapi.Devices()[size_t(index)];
        settings.SetDeviceName(device.Name);
        tapi.StartMonitor(device);
        if (notify && tapi.MonitoredDevice())
            ShowNotice(Balloon::Notice, u"Monitoraggio modem "_s + device.Name + u" avviato"_s);
    } catch (const VestrelError& e) {
        if (settings.DeviceName() == NoDeviceName())
            return;
        ShowNotice(Balloon::Notice, u"Impossibile monitorare il modem "_s + settings.DeviceName() +
                                        u'\r' + u'[' + e.message() + u']');
        settings.SetDeviceName(NoDeviceName());
    }
}

void StopTapiMonitor(TTapiControl& tapi)
{
    try {
        tapi.StopMonitor();
        ShowNotice(Balloon::Notice, u"Monitoraggio modem terminato"_s);
    } catch (const VestrelError&) {
        // Whatever went wrong, nothing is watched any more.
    }
}

} // namespace vestrel
