#pragma once

#include "config/ProcessItem.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QThread;

namespace vestrel::platform {
class LauncherService;
}

namespace vestrel {

// Starts the applications of profiles and entries, each on a worker thread of its own, and
// closes them again. Workers copy what they need from the item before they run, never touch a
// store, and hand their results to the user-interface thread, waiting until the handlers have
// run; after BeginShutdown they deliver nothing. Failures of a start go to the list's OnError
// as "Impossibile lanciare l'applicazione NAME!" CR reason; every start attempt then raises the
// item's OnRun.
class TProcessControl : public QObject {
    Q_OBJECT
public:
    // Without a launcher, the process-wide one.
    explicit TProcessControl(platform::LauncherService* launcher = nullptr,
                             QObject* parent = nullptr);
    // Begins the shutdown and waits for the workers.
    ~TProcessControl() override;

    // Starts the item unless the process started for it still runs.
    void Start(TProcessItem* item);
    // Ends the item's process, releases it and raises OnClose; an item whose process has already
    // ended is released the same way, an idle one is left alone. Raises VestrelError when the
    // system refuses.
    void Terminate(TProcessItem* item);
    static bool IsStarted(const TProcessItem* item);

    // In list order; the starts then run side by side.
    void StartAllOfKind(TProcessItems& list, TRunKind kind);
    static int CountOfKind(const TProcessItems& list, TRunKind kind);
    // Terminates every started item of that close kind. When one fails the others are still
    // closed; the first failure is raised at the end.
    void CloseAllOfKind(TProcessItems& list, TCloseKind kind);

    // Opens a document, program or link. Failures are only logged: there is no one to tell.
    void ShellExecRun(const QString& path, qint32 cmdShow);

    // From now on nothing is started and no worker delivers anything; waiting workers go on.
    void BeginShutdown();
    bool ShuttingDown() const;
    // Lets the user-interface thread serve the workers until all have ended; false on timeout.
    bool WaitForWorkers(int timeoutMs = 10000);
    int RunningWorkers() const { return int(m_workers.size()); }

    // The one installed last, else one created on first use.
    static TProcessControl& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(TProcessControl* control);

private:
    struct Shared;
    void launch(TProcessItem* item, bool keepProcess);
    void release(QThread* worker);

    platform::LauncherService& m_launcher;
    std::shared_ptr<Shared> m_shared;
    std::vector<QThread*> m_workers;
    std::unique_ptr<TProcessItems> m_shellList;
};

// The text of a launch code of 32 or below ("File non trovato"); empty for others.
QString ShellErrorText(qint32 instance);
// How the settings window names a show command: "Ridotta a icona [MINIMIZE]"; empty for others.
QString ShowCommandText(qint32 cmdShow);

} // namespace vestrel
