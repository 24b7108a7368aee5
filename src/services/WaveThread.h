#pragma once

#include <QByteArray>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QObject;
class QThread;

namespace vestrel {

namespace platform {
class SoundOutput;
}

// Plays sounds on a worker thread so that the user interface never waits for one. There is one
// pending slot: a request posted before the worker has taken the previous one replaces it, so a
// quick series of requests plays the last. For each request taken the worker stops what plays,
// waits PauseMs when asked to, and plays the bytes. It never touches the store: a request carries
// its own copy of the bytes (shared, not copied) and the file name.
class TWaveThread {
public:
    struct Request {
        QByteArray bytes;
        QString fileName;
        bool pause = false;
        // Who asked (TWaveFile::Serial), handed back with an error.
        quint64 source = 0;
    };
    // Runs on the user-interface thread; the worker waits until it has returned.
    using ErrorHandler = std::function<void(quint64 source, const QString& text)>;

    static constexpr int PauseMs = 250;

    // Constructed on the user-interface thread, which receives the errors; starts the worker.
    TWaveThread(platform::SoundOutput& output, ErrorHandler onError);
    // Stops and waits for the worker.
    ~TWaveThread();
    TWaveThread(const TWaveThread&) = delete;
    TWaveThread& operator=(const TWaveThread&) = delete;

    void Post(Request request);
    // From here on no error is delivered; a worker waiting for its hand-over goes on.
    void BeginShutdown();
    // Waits until the slot is empty and the worker idle, handling the user-interface thread's
    // events meanwhile (an error hand-over among them); false on timeout.
    bool WaitIdle(int timeoutMs);

private:
    void run();
    void reportError(quint64 source, const QString& text);
    bool delivering() const;

    platform::SoundOutput& m_output;
    ErrorHandler m_onError;
    // Lives on the user-interface thread: the hand-over is posted to it, and dropped with it.
    std::unique_ptr<QObject> m_context;
    QMutex m_mutex;
    QWaitCondition m_wake;
    QWaitCondition m_idle;
    std::optional<Request> m_pending;
    bool m_busy = false;
    bool m_quit = false;
    std::atomic_bool m_shuttingDown = false;
    QSemaphore m_handedOver;
    std::unique_ptr<QThread> m_thread;
};

} // namespace vestrel
