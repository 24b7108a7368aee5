#include "InfoText.h"

#include "DataShare.h"
#include "RasControl.h"
#include "Status.h"
#include "SysResource9x.h"

#include "common/DateFormat.h"
#include "common/Formats.h"
#include "common/StringHelpers.h"
#include "common/SystemInfo.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "tariff/TaxItem.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString InfoText(const TDataShare& data, const TSettings& settings, const TDataUnits& log)
{
    const TStatus& status = data.Status();
    QString first = status.ConnectionStateText();
    if (status.HasEntryName()) {
        const int count = data.Ras().ConnectionsCount();
        first = first.trimmed() + u" ["_s + status.EntryName() + u"]"_s;
        if (count >= 2)
            first += u" - Connessioni attive: "_s + QString::number(count);
    }
    QStringList lines{first};
    if (const TTaxItem* tax = status.Tax())
        lines << u"Tariffa "_s + tax->DisplayName() + u" - Fascia "_s + FasciaName(tax->FasciaNow());
    if (!status.DinamicIP().isEmpty())
        lines << u"Indirizzo IP "_s + status.DinamicIP();
    if (status.IsConnectionCounting()) {
        if (!status.AppName().trimmed().isEmpty())
            lines << status.AppName() + u" - "_s + settings.DeviceName();
        if (status.CallRate() > 0)
            lines << u"Connesso alla velocità di "_s + FormatCount(status.CallRate()) + u" bps"_s;
        if (!status.DialingNumber().isEmpty())
            lines << u"Numero telefonico "_s + status.DialingNumber();
        lines << u"Il conteggio è iniziato alle "_s + FormatDateTime(u"h:nn:ss"_s, status.StartTime());
    }
    if (data.Resources().Active())
        lines << u"Risorse "_s + data.Resources().ResourcesText();
    const QString today = log.TodaySummary();
    if (!today.isEmpty())
        lines << u"Connessioni di oggi » "_s + today + u" £irette"_s;
    if (status.ScheduledDisconnect() != 0) {
        QString line = u"Disconnessione programmata: "_s +
                       FormatDateTime(u"dddd d mmmm yyyy h:nn:ss"_s, status.ScheduledDisconnect());
        if (status.ShutdownAtDisconnect())
            line += u" con chiusura di "_s + OSName();
        lines << line;
    }
    return TrimBlanks(lines.join(u'\r'));
}

} // namespace vestrel
