#include "ProcessControl.h"

#include "common/VestrelError.h"
#include "platform/LauncherService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using platform::LaunchedProcess;
using platform::LaunchResult;

struct TProcessControl::Shared {
    std::mutex mutex;
    std::condition_variable delivered;
    bool shuttingDown = false;

    bool stopping()
    {
        const std::lock_guard lock(mutex);
        return shuttingDown;
    }
};

namespace {

// What a worker needs, copied on the user-interface thread before it starts.
struct Job {
    TProcessItem* item;
    std::weak_ptr<TProcessRun> run;
    platform::LaunchRequest request;
    QString name;
    bool keepProcess;
};

// Runs `handler` on the receiver's thread and waits until it has run, or until the shutdown
// begins, whichever comes first.
template <class Shared, class Handler>
void deliver(QObject* receiver, const std::shared_ptr<Shared>& shared, Handler handler)
{
    if (shared->stopping())
        return;
    auto done = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        receiver,
        [shared, done, handler = std::move(handler)] {
            // Set even when a handler throws, so the worker never waits for ever.
            struct Finish {
                Shared& s;
                bool& d;
                ~Finish()
                {
                    {
                        const std::lock_guard lock(s.mutex);
                        d = true;
                    }
                    s.delivered.notify_all();
                }
            } finish{*shared, *done};
            if (!shared->stopping())
                handler();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(shared->mutex);
    shared->delivered.wait(lock, [&] { return *done || shared->shuttingDown; });
}

void applyResult(const Job& job, const LaunchResult& result)
{
    if (job.run.expired())
        return; // the item was deleted while it was being started
    TProcessItem* item = job.item;
    if (job.keepProcess) {
        TProcessRun& run = *item->Run;
        run.Starting = false;
        run.Process = result.ok() ? result.process : nullptr;
    }
    if (!result.ok()) {
        const QString reason =
            result.systemText.isEmpty() ? ShellErrorText(result.instance) : result.systemText;
        const QString message = u"Impossibile lanciare l'applicazione "_s + job.name + u"!\r"_s + reason;
        auto* list = dynamic_cast<TProcessItems*>(item->Collection());
        if (list && list->OnError)
            list->OnError(item, message);
        else
            qWarning("%s [%s]", qPrintable(QString(message).replace(u'\r', u' ')),
                     qPrintable(job.request.path));
    }
    if (!job.run.expired() && item->OnRun)
        item->OnRun(item);
}

TProcessControl* installed = nullptr;

} // namespace

TProcessControl::TProcessControl(platform::LauncherService* launcher, QObject* parent)
    : QObject(parent),
      m_launcher(launcher ? *launcher : platform::LauncherService::instance()),
      m_shared(std::make_shared<Shared>())
{
}

TProcessControl::~TProcessControl()
{
    BeginShutdown();
    for (QThread* worker : m_workers) {
        worker->wait();
        delete worker;
    }
    if (installed == this)
        installed = nullptr;
}

void TProcessControl::Start(TProcessItem* item)
{
    if (!item)
        return;
    const TProcessRun& run = *item->Run;
    // A second start while the first is under way or its process runs would leave a process
    // that nothing closes.
    if (run.Starting || (run.Process && run.Process->isRunning()))
        return;
    launch(item, true);
}

void TProcessControl::launch(TProcessItem* item, bool keepProcess)
{
    if (ShuttingDown())
        return;
    Job job{item,
            item->Run,
            {item->Path(), item->WorkingDirectory(), item->CommandLine(), item->CmdShow()},
            item->Nome(),
            keepProcess};
    if (keepProcess)
        item->Run->Starting = true;

    platform::LauncherService& launcher = m_launcher;
    QThread* worker = QThread::create([this, &launcher, shared = m_shared, job] {
        const LaunchResult result = launcher.launch(job.request);
        deliver(this, shared, [job, result] { applyResult(job, result); });
    });
    m_workers.push_back(worker);
    connect(worker, &QThread::finished, this, [this, worker] { release(worker); });
    worker->start();
}

void TProcessControl::release(QThread* worker)
{
    const auto it = std::find(m_workers.begin(), m_workers.end(), worker);
    if (it == m_workers.end())
        return;
    m_workers.erase(it);
    worker->wait();
    delete worker;
}

void TProcessControl::Terminate(TProcessItem* item)
{
    if (!item || !item->Run->Process)
        return;
    std::shared_ptr<LaunchedProcess>& process = item->Run->Process;
    const LaunchedProcess::TerminateResult result = process->terminate();
    if (result.ending == LaunchedProcess::Ending::Failed)
        throw VestrelError(u"Impossibile terminare l'applicazione "_s + item->Nome()
                           + u"!\r\rFallita la TerminateProcess "_s + result.systemText);
    process.reset();
    if (item->OnClose)
        item->OnClose(item);
}

bool TProcessControl::IsStarted(const TProcessItem* item)
{
    return item && item->Run->Process != nullptr;
}

void TProcessControl::StartAllOfKind(TProcessItems& list, TRunKind kind)
{
    for (int i = 0; i < list.Count(); ++i)
        if (list[i]->RunKind() == kind)
            Start(list[i]);
}

int TProcessControl::CountOfKind(const TProcessItems& list, TRunKind kind)
{
    int count = 0;
    for (int i = 0; i < list.Count(); ++i)
        count += list[i]->RunKind() == kind ? 1 : 0;
    return count;
}

void TProcessControl::CloseAllOfKind(TProcessItems& list, TCloseKind kind)
{
    std::optional<VestrelError> firstFailure;
    for (int i = 0; i < list.Count(); ++i) {
        TProcessItem* item = list[i];
        if (item->CloseKind() != kind || !IsStarted(item))
            continue;
        try {
            Terminate(item);
        } catch (const VestrelError& error) {
            if (!firstFailure)
                firstFailure = error;
        }
    }
    if (firstFailure)
        throw *firstFailure;
}

void TProcessControl::ShellExecRun(const QString& path, qint32 cmdShow)
{
    if (!m_shellList) {
        m_shellList = std::make_unique<TProcessItems>(static_cast<store::TPersistentComponent*>(nullptr));
        m_shellList->Add()->SetNome(u"ShellExecRun"_s);
    }
    TProcessItem* item = (*m_shellList)[0];
    item->SetCmdShow(cmdShow);
    item->SetPath(path);
    // The shared item keeps no process: nothing closes it, and a process held by it would make
    // every later link wait until the first program has ended.
    launch(item, false);
}

void TProcessControl::BeginShutdown()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->shuttingDown = true;
    }
    m_shared->delivered.notify_all();
}

bool TProcessControl::ShuttingDown() const
{
    return m_shared->stopping();
}

bool TProcessControl::WaitForWorkers(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_workers.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (m_workers.empty())
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}

TProcessControl& TProcessControl::instance()
{
    if (installed)
        return *installed;
    static TProcessControl fallback;
    return fallback;
}

void TProcessControl::setInstance(TProcessControl* control)
{
    installed = control;
}

QString ShellErrorText(qint32 instance)
{
    switch (instance) {
    case 2: return u"File non trovato"_s;
    case 3: return u"Path non trovato"_s;
    case 5: return u"Accesso negato"_s;
    case 8: return u"Memoria esaurita"_s;
    case 26: return u"Errore Share"_s;
    case 27: return u"Associazione incompleta"_s;
    case 28: return u"DDE timeout"_s;
    case 29: return u"DDE fallito"_s;
    case 30: return u"DDE occupato"_s;
    case 31: return u"Nessuna associazione al file"_s;
    case 32: return u"Dll non trovata"_s;
    default: return {};
    }
}

QString ShowCommandText(qint32 cmdShow)
{
    static const char16_t* const texts[] = {
        u"Invisibile [HIDE]",
        u"Attiva [SHOWNORMAL]",
        u"Attiva ridotta a icona [SHOWMINIMIZED]",
        u"Ingrandita [MAXIMIZE]",
        u"Mostra nello stato più recente [SHOWNOACTIVATE]",
        u"Attiva [SHOW]",
        u"Ridotta a icona [MINIMIZE]",
        u"Ridotta a icona [SHOWMINNOACTIVE]",
        u"Mostra nello stato corrente [SHOWNA]",
        u"Ripristina [RESTORE]",
        u"Attiva impostazioni predefinite [SHOWDEFAULT]",
    };
    if (cmdShow < 0 || cmdShow >= qint32(std::size(texts)))
        return {};
    return QString::fromUtf16(texts[cmdShow]);
}

} // namespace vestrel
