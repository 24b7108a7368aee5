#include "LauncherQt.h"

#include "common/ErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

// Follows a detached process through a pidfd, so a number reused by a later process is never
// mistaken for it; on kernels without pidfds, by its number.
class PidProcess final : public LaunchedProcess {
public:
    explicit PidProcess(qint64 pid) : m_pid(pid_t(pid))
    {
        m_fd = int(::syscall(SYS_pidfd_open, m_pid, 0));
        m_goneAtStart = m_fd < 0 && errno == ESRCH;
    }
    ~PidProcess() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool isRunning() const override
    {
        if (m_fd >= 0) {
            pollfd exited{m_fd, POLLIN, 0};
            return ::poll(&exited, 1, 0) == 0;
        }
        return !m_goneAtStart && (::kill(m_pid, 0) == 0 || errno == EPERM);
    }

    TerminateResult terminate() override
    {
        // An ended process may linger unreaped, and signalling it would still succeed.
        if (!isRunning())
            return {Ending::AlreadyEnded, {}};
        const int rc = m_fd >= 0 ? int(::syscall(SYS_pidfd_send_signal, m_fd, SIGTERM, nullptr, 0))
                                 : ::kill(m_pid, SIGTERM);
        if (rc == 0)
            return {Ending::Terminated, {}};
        if (errno == ESRCH)
            return {Ending::AlreadyEnded, {}};
        return {Ending::Failed, ErrorText(errno)};
    }

private:
    pid_t m_pid;
    int m_fd = -1;
    bool m_goneAtStart = false;
};

bool isProgramFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // execute-only: it can only be meant to run
    const QByteArray head = file.read(4);
    return head.startsWith("#!") || head == QByteArrayLiteral("\x7f" "ELF");
}

LaunchPlan failed(qint32 instance)
{
    LaunchPlan plan;
    plan.instance = instance;
    return plan;
}

} // namespace

LaunchPlan PlanLaunch(const LaunchRequest& request, const QString& opener)
{
    const QString path = request.path.trimmed();
    if (path.isEmpty())
        return failed(LaunchCode::FileNotFound);
    const QString directory = request.workingDirectory.trimmed();
    if (!directory.isEmpty() && !QFileInfo(directory).isDir())
        return failed(LaunchCode::PathNotFound);

    LaunchPlan plan;
    plan.workingDirectory = directory;
    const auto run = [&](const QString& program) {
        plan.program = program;
        plan.arguments = QProcess::splitCommand(request.commandLine);
        return plan;
    };
    const auto open = [&](const QString& target) {
        if (opener.isEmpty())
            return failed(LaunchCode::NoAssociation);
        plan.program = opener;
        plan.arguments = QStringList{target};
        return plan;
    };

    const QFileInfo info(directory.isEmpty() || QDir::isAbsolutePath(path)
                             ? path
                             : QDir(directory).filePath(path));
    if (!info.exists()) {
        static const QRegularExpression scheme(u"^[A-Za-z][A-Za-z0-9+.-]+:"_s);
        if (scheme.match(path).hasMatch())
            return open(path);
        if (!path.contains(u'/')) {
            const QString found = QStandardPaths::findExecutable(path);
            if (!found.isEmpty())
                return run(found);
        }
        return failed(info.absoluteDir().exists() ? LaunchCode::FileNotFound
                                                  : LaunchCode::PathNotFound);
    }
    const QString target = info.absoluteFilePath();
    if (info.isDir())
        return open(target);
    if (info.isExecutable() && isProgramFile(target))
        return run(target);
    if (!info.isReadable())
        return failed(LaunchCode::AccessDenied);
    return open(target);
}

LauncherQt::LauncherQt(QString opener) : m_opener(std::move(opener)) {}

LaunchResult LauncherQt::launch(const LaunchRequest& request)
{
    const QString opener =
        m_opener.isEmpty() ? QStandardPaths::findExecutable(u"xdg-open"_s) : m_opener;
    const LaunchPlan plan = PlanLaunch(request, opener);
    LaunchResult result;
    result.instance = plan.instance;
    if (!result.ok())
        return result;

    QProcess process;
    process.setProgram(plan.program);
    process.setArguments(plan.arguments);
    process.setWorkingDirectory(plan.workingDirectory);
    // The program's own console streams are not the started application's business.
    process.setStandardInputFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        result.instance = 0;
        result.systemText = process.errorString();
        return result;
    }
    result.process = std::make_shared<PidProcess>(pid);
    return result;
}

} // namespace vestrel::platform
