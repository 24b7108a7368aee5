#include "ConnectionReactions.h"

#include "DataShare.h"
#include "Dialer.h"
#include "TimeLimitWatch.h"
#include "ProcessControl.h"
#include "Status.h"

#include "common/Notices.h"
#include "common/StringHelpers.h"
#include "common/VestrelError.h"
#include "config/EntryItem.h"
#include "config/ProfileItem.h"
#include "tariff/Taxations.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

ConnectionReactions::ConnectionReactions(TDataShare& data, TTaxations& taxations)
    : m_data(data), m_taxations(taxations)
{
    m_data.Status().OnCountingStarted = [this](TStatus*) { m_data.TimeLimit().Start(); };
    m_data.Status().OnConnected = [this](TStatus*) { OnlineReached(); };
    m_data.Status().OnConnectionLogged = [this](TStatus*, const TConnectionData&) { Logged(); };
}

void ConnectionReactions::OnlineReached()
{
    m_data.Dialer().Close();
    m_data.TimeLimit().Start();
    TStatus& status = m_data.Status();
    TProcessControl& launcher = m_data.Launcher();
    TProfileItem* profile = status.Profile();
    TEntryItem* entry = status.Entry();
    const int count = (profile ? launcher.CountOfKind(profile->Applications(), rkConnected) : 0) +
                      (entry ? launcher.CountOfKind(entry->Applications(), rkConnected) : 0);
    if (count == 0)
        return;
    ShowNotice(Balloon::Notice, u"Avvio delle applicazioni alla connessione..."_s);
    if (profile)
        launcher.StartAllOfKind(profile->Applications(), rkConnected);
    if (entry)
        launcher.StartAllOfKind(entry->Applications(), rkConnected);
}

void ConnectionReactions::Logged()
{
    m_data.TimeLimit().Stop();
    TStatus& status = m_data.Status();
    if (TProfileItem* profile = status.Profile()) {
        try {
            m_data.Launcher().CloseAllOfKind(profile->Applications(), ckDisconnected);
        } catch (const VestrelError& e) {
            ShowNotice(Balloon::Notice, e.message());
        }
    }
    const TConnectionData& last = status.LastConnection();
    const QString report = TrimBlanks(m_taxations.CompareTaxs({last.Start, last.End, last.Lire}));
    status.SetLastComparison(report);
    if (!report.isEmpty())
        ShowNotice(Balloon::Comparison, u"Maledizione: \r"_s + report);
    else
        ShowNotice(Balloon::Notice, u"Bene! Hai scelto la tariffa più conveniente! ;)"_s);
}

} // namespace vestrel
