#pragma once

#include "store/DataCollection.h"

#include <QString>

#include <functional>
#include <memory>

namespace vestrel::platform {
class LaunchedProcess;
}

namespace vestrel {

enum TRunKind { rkConnected, rkManual, rkStartUp };
enum TCloseKind { ckNone, ckDisconnected, ckExit };

class TProcessItem;

// What the launcher keeps of an item while the program runs; never stored.
struct TProcessRun {
    // The process started for the item; empty while it is idle.
    std::shared_ptr<platform::LaunchedProcess> Process;
    // A start of the item is under way.
    bool Starting = false;
};

using TNotifyProcess = std::function<void(TProcessItem* item)>;

// An application that a profile or a connection entry starts and closes; the launcher runs it.
class TProcessItem : public store::TDataCollectionItem {
public:
    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { assign(m_nome, v); }
    QString Path() const { return m_path; }
    void SetPath(const QString& v) { assign(m_path, v); }
    QString WorkingDirectory() const { return m_workingDirectory; }
    void SetWorkingDirectory(const QString& v) { assign(m_workingDirectory, v); }
    QString CommandLine() const { return m_commandLine; }
    void SetCommandLine(const QString& v) { assign(m_commandLine, v); }
    TRunKind RunKind() const { return m_runKind; }
    void SetRunKind(TRunKind v) { assign(m_runKind, v); }
    TCloseKind CloseKind() const { return m_closeKind; }
    void SetCloseKind(TCloseKind v) { assign(m_closeKind, v); }
    // The show command handed to the desktop (6: minimised).
    qint32 CmdShow() const { return m_cmdShow; }
    void SetCmdShow(qint32 v) { assign(m_cmdShow, v); }

    TNotifyProcess OnRun;
    TNotifyProcess OnClose;

    // Shared so that a start under way can tell, through a weak reference, whether the item
    // still exists when it reports back.
    const std::shared_ptr<TProcessRun> Run = std::make_shared<TProcessRun>();

private:
    QString m_nome;
    QString m_path;
    QString m_workingDirectory;
    QString m_commandLine;
    TRunKind m_runKind = rkConnected;
    TCloseKind m_closeKind = ckNone;
    qint32 m_cmdShow = 6;
};

// The applications of a profile or of an entry. Start failures go to OnError.
class TProcessItems : public store::TCollectionOf<TProcessItem> {
public:
    using ErrorHandler = std::function<void(TProcessItem* item, const QString& message)>;

    using TCollectionOf::TCollectionOf;

    ErrorHandler OnError;
};

// The handler of the profiles' and entries' lists: a notice with the message and the
// application's path, then the error sound.
void ReportApplicationError(TProcessItem* item, const QString& message);
// The sound played after that notice; the sound service installs it.
void SetApplicationErrorSound(std::function<void()> play);

} // namespace vestrel
