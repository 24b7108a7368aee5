#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace vestrel {

class TimerBackend;

// A periodic timer of the user-interface thread, driven by the process Clock.
// It keeps the component semantics of the program: enabling an enabled timer does not restart it,
// changing the interval of an enabled timer does, and an interval of 0 never fires.
// A tick that arrives while the previous handler still runs (a modal box spins the event loop)
// is dropped, so no handler is ever re-entered by its own timer.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* owner = nullptr, const QString& name = {}, int intervalMs = 1000);
    ~Timer() override;

    int interval() const { return m_interval; }
    void setInterval(int ms);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }
    bool isRunningHandler() const { return m_inHandler; }

    // Called by the backend when the interval has passed.
    void fire();

Q_SIGNALS:
    void timeout();

private:
    void update();

    std::unique_ptr<TimerBackend> m_backend;
    int m_interval;
    bool m_enabled = false;
    bool m_inHandler = false;
};

// Disables every Timer owned (directly) by the owner.
void DisableOwnedTimers(QObject* owner);

} // namespace vestrel
