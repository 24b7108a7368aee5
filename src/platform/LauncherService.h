#pragma once

#include <QString>

#include <memory>

namespace vestrel::platform {

// Outcome of a launch, numbered as the program's shell codes: above 32 the target was started,
// 32 and below the reason it was not.
namespace LaunchCode {
inline constexpr qint32 FileNotFound = 2;
inline constexpr qint32 PathNotFound = 3;
inline constexpr qint32 AccessDenied = 5;
inline constexpr qint32 OutOfMemory = 8;
inline constexpr qint32 NoAssociation = 31;
inline constexpr qint32 Started = 42;
} // namespace LaunchCode

// A process the launcher started. Releasing the last reference forgets the process; it never
// ends it.
class LaunchedProcess {
public:
    enum class Ending { Terminated, AlreadyEnded, Failed };
    struct TerminateResult {
        Ending ending = Ending::Terminated;
        // The system's text when it failed.
        QString systemText;
    };

    virtual ~LaunchedProcess() = default;
    // May be called from any thread.
    virtual bool isRunning() const = 0;
    // Asks the process to end now.
    virtual TerminateResult terminate() = 0;
};

struct LaunchRequest {
    // A program, a document, a folder or a link.
    QString path{};
    QString workingDirectory{};
    // Parameters of a program, split like a shell command line.
    QString commandLine{};
    // The window state asked for (6: minimised); desktops may not honour it.
    qint32 showCommand = 6;
};

struct LaunchResult {
    qint32 instance = LaunchCode::FileNotFound;
    // What was started, when it can be followed.
    std::shared_ptr<LaunchedProcess> process;
    // The system's text of a failure that has one (the code then tells less).
    QString systemText;
    bool ok() const { return instance > 32; }
};

// Starts programs and opens documents and links with the program the desktop associates with
// them.
class LauncherService {
public:
    virtual ~LauncherService() = default;

    // Called on worker threads: every backend is safe to call from several at once.
    virtual LaunchResult launch(const LaunchRequest& request) = 0;

    // The one installed last, else the QProcess backend.
    static LauncherService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(LauncherService* service);
};

} // namespace vestrel::platform
