#include "SysResource9x.h"

#include "common/Notices.h"
#include "common/SystemInfo.h"
#include "platform/ResourcesService.h"

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TSysResource9x::TSysResource9x(QObject* owner, platform::ResourcesService* service)
    : QObject(owner),
      m_service(service ? *service : platform::ResourcesService::instance()),
      m_timer(this, u"FTimerCheckResource"_s, 1000)
{
    m_exists = refresh();
    connect(&m_timer, &Timer::timeout, this, &TSysResource9x::check);
}

bool TSysResource9x::refresh()
{
    const std::optional<int> percent = m_service.availablePercent();
    if (!percent)
        return false;
    m_gdi = m_user = m_system = std::clamp(*percent, 0, 100);
    return true;
}

bool TSysResource9x::EnoughResources(int percent)
{
    if (!m_exists || !refresh())
        return true;
    return std::min({m_gdi, m_user, m_system}) >= percent;
}

QString TSysResource9x::ResourcesText()
{
    if (m_exists)
        refresh();
    return u"Sistema: %1% Utente: %2% GDI: %3%"_s.arg(m_system).arg(m_user).arg(m_gdi);
}

void TSysResource9x::check()
{
    if (!m_exists || !refresh()) {
        SetActive(false);
        return;
    }
    m_low = std::min({m_gdi, m_user, m_system}) < m_limit;
    if (m_low && OnLowResource)
        OnLowResource(this, m_gdi, m_user, m_system);
}

void ShowLowResourceNotice(TSysResource9x& resources)
{
    ShowNotice(Balloon::Notice, u"Risorse di sistema in esaurimento - "_s + resources.ResourcesText()
                                    + u"\rChiudere qualche applicazione altrimenti "_s + OSName()
                                    + u" potrebbe bloccarsi!!!"_s);
}

} // namespace vestrel
