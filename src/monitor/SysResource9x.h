#pragma once

#include "common/Timer.h"

#include <QObject>
#include <QString>

#include <functional>

namespace vestrel::platform {
class ResourcesService;
}

namespace vestrel {

class TSysResource9x;
using TLowResourceNotify = std::function<void(TSysResource9x* sender, int gdi, int user, int system)>;

// Watches the machine's free resources and reports, every second while they stay low, that they
// are below Limit. On Linux the measure is the share of memory still available, the same figure
// for the system, user and GDI values; where it cannot be read the check counts resources as
// enough and switches itself off.
class TSysResource9x : public QObject {
    Q_OBJECT
public:
    // Without a service, the process-wide one.
    explicit TSysResource9x(QObject* owner = nullptr, platform::ResourcesService* service = nullptr);

    bool Active() const { return m_timer.isEnabled(); }
    void SetActive(bool value) { m_timer.setEnabled(value); }
    int Limit() const { return m_limit; }
    void SetLimit(int value) { m_limit = value; }

    // True when the measure is missing or cannot be read; otherwise none of the three values is
    // below `percent`.
    bool EnoughResources(int percent);
    // "Sistema: 42% Utente: 42% GDI: 42%", refreshed first.
    QString ResourcesText();

    // Whether this machine has the measure at all.
    bool Exists() const { return m_exists; }
    // The last check found a value below Limit.
    bool IsLow() const { return m_low; }
    int GDI() const { return m_gdi; }
    int User() const { return m_user; }
    int System() const { return m_system; }

    TLowResourceNotify OnLowResource;

private:
    bool refresh();
    void check();

    platform::ResourcesService& m_service;
    Timer m_timer;
    int m_limit = 10;
    bool m_exists = false;
    bool m_low = false;
    int m_gdi = 0;
    int m_user = 0;
    int m_system = 0;
};

// The application's answer to OnLowResource: the notice that resources are running out.
void ShowLowResourceNotice(TSysResource9x& resources);

} // namespace vestrel
