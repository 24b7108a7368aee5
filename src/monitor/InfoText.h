#pragma once

#include <QString>

namespace vestrel {

class TDataShare;
class TDataUnits;
class TSettings;

// The summary shown when the tray icon is clicked, one line per fact: the connection state and
// entry, the tariff and its band now, the address, the line data while counting, the free
// resources, today's connections and the scheduled disconnection.
QString InfoText(const TDataShare& data, const TSettings& settings, const TDataUnits& log);

} // namespace vestrel
