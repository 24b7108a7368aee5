#pragma once

#include <QObject>
#include <QSemaphore>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace vestrel {

namespace platform {
class DialUpService;
}

// Looks once, on a worker thread, for phonebook entries that dial a number beginning with the
// international prefix. Each finding is handed to the user-interface thread, where OnFound runs
// (the program opens its warning there, modally); the worker waits until OnFound has returned.
// Nothing is handed over once Stop() was called or the application is closing down. A failure of
// the phonebook ends the check without a word.
class TCheckInternationalThread : public QObject {
public:
    using FoundHandler = std::function<void(const QString& entry, const QString& number)>;

    // The prefix is read here, on the user-interface thread: the worker touches no store. An
    // empty prefix matches nothing.
    TCheckInternationalThread(platform::DialUpService& service, const QString& internationalPrefix,
                              FoundHandler onFound, QObject* owner = nullptr);
    // Stops and waits for the worker.
    ~TCheckInternationalThread() override;

    void Start();
    void Stop();
    bool IsFinished() const;

private:
    void run();
    // On the worker: runs OnFound on the user-interface thread and waits for it.
    void handOver(const QString& entry, const QString& number);

    platform::DialUpService& m_service;
    const QString m_prefix;
    FoundHandler m_onFound;
    std::unique_ptr<QThread> m_thread;
    std::atomic_bool m_stopping = false;
    QSemaphore m_handedOver;
};

} // namespace vestrel
