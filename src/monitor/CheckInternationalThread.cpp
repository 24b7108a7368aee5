#include "CheckInternationalThread.h"

#include "RasControl.h"

#include "platform/DialUpService.h"

#include <QCoreApplication>
#include <QThread>

namespace vestrel {

using namespace vestrel::platform;

TCheckInternationalThread::TCheckInternationalThread(DialUpService& service,
                                                     const QString& internationalPrefix,
                                                     FoundHandler onFound, QObject* owner)
    : QObject(owner), m_service(service), m_prefix(internationalPrefix), m_onFound(std::move(onFound))
{
}

TCheckInternationalThread::~TCheckInternationalThread()
{
    Stop();
    if (m_thread)
        m_thread->wait();
}

void TCheckInternationalThread::Start()
{
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void TCheckInternationalThread::Stop()
{
    m_stopping = true;
    // Wakes a worker that waits for a hand-over that will not come.
    m_handedOver.release();
}

bool TCheckInternationalThread::IsFinished() const
{
    return m_thread && m_thread->isFinished();
}

void TCheckInternationalThread::run()
{
    if (m_prefix.isEmpty())
        return;
    const DialUpResult<QStringList> entries = m_service.entries();
    if (!entries.ok())
        return;
    for (const QString& entry : entries.value) {
        if (m_stopping)
            return;
        const DialUpResult<DialUpEntryProperties> properties = m_service.entryProperties(entry);
        if (!properties.ok())
            return;
        const QString number = TRasControl::ComposePhoneNumber(properties.value);
        if (number.startsWith(m_prefix))
            handOver(entry, number);
    }
}

void TCheckInternationalThread::handOver(const QString& entry, const QString& number)
{
    if (m_stopping || QCoreApplication::closingDown())
        return;
    // Posted to this object, which lives on the user-interface thread; when it is destroyed first,
    // the call is dropped and Stop() has released the worker.
    QMetaObject::invokeMethod(this, [this, entry, number] {
        if (!m_stopping && !QCoreApplication::closingDown() && m_onFound)
            m_onFound(entry, number);
        m_handedOver.release();
    }, Qt::QueuedConnection);
    m_handedOver.acquire();
}

} // namespace vestrel
