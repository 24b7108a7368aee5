#include "WaveThread.h"

#include "platform/SoundOutput.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TWaveThread::TWaveThread(platform::SoundOutput& output, ErrorHandler onError)
    : m_output(output), m_onError(std::move(onError)), m_context(std::make_unique<QObject>())
{
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(u"TWaveThread"_s);
    m_thread->start();
}

TWaveThread::~TWaveThread()
{
    BeginShutdown();
    {
        QMutexLocker lock(&m_mutex);
        m_quit = true;
        m_pending.reset();
    }
    m_wake.wakeAll();
    m_thread->wait();
}

void TWaveThread::Post(Request request)
{
    {
        QMutexLocker lock(&m_mutex);
        m_pending = std::move(request);
    }
    m_wake.wakeAll();
}

void TWaveThread::BeginShutdown()
{
    if (m_shuttingDown.exchange(true))
        return;
    // Wakes a worker that waits for a hand-over that will not come.
    m_handedOver.release();
}

bool TWaveThread::WaitIdle(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        {
            QMutexLocker lock(&m_mutex);
            if (!m_pending && !m_busy)
                return true;
            if (deadline.hasExpired())
                return false;
            m_idle.wait(&m_mutex, QDeadlineTimer(5));
        }
        QCoreApplication::processEvents();
    }
}

void TWaveThread::run()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (!m_quit && !m_pending)
            m_wake.wait(&m_mutex);
        if (m_quit)
            return;
        const Request request = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        m_output.stop();
        lock.relock();
        if (request.pause) {
            // Requests posted meanwhile wait in the slot; only the end of the thread cuts it short.
            const QDeadlineTimer pause(PauseMs);
            while (!m_quit && !pause.hasExpired())
                m_wake.wait(&m_mutex, pause);
            if (m_quit)
                return;
        }
        lock.unlock();
        if (!m_output.play(request.bytes).isEmpty())
            reportError(request.source, u"Errore durante la riproduzione del file: "_s + request.fileName);
        lock.relock();
        m_busy = false;
        m_idle.wakeAll();
    }
}

bool TWaveThread::delivering() const
{
    return !m_shuttingDown && !QCoreApplication::closingDown();
}

void TWaveThread::reportError(quint64 source, const QString& text)
{
    if (!delivering() || !m_onError)
        return;
    QMetaObject::invokeMethod(
        m_context.get(),
        [this, source, text] {
            // Released also when the handler raises, so the worker never waits for ever.
            struct Release {
                QSemaphore& done;
                ~Release() { done.release(); }
            } release{m_handedOver};
            if (delivering())
                m_onError(source, text);
        },
        Qt::QueuedConnection);
    m_handedOver.acquire();
}

} // namespace vestrel
