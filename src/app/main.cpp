#include "Program.h"
#include "VestrelApplication.h"

#include "common/ProcessValues.h"
#include "widgets/WidgetDialogs.h"

#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

// The end of the desktop session or a plain SIGTERM/SIGINT: the handler only wakes the event loop.
void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv)
{
    vestrel::InitProcessValues(QString::fromLocal8Bit(argv[0]));
    vestrel::VestrelApplication app(argc, argv);
    vestrel::WidgetDialogs dialogs;
    vestrel::Program program;

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&program] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &byte, 1);
            program.Close(true);
        });
        std::signal(SIGTERM, onTerminationSignal);
        std::signal(SIGINT, onTerminationSignal);
        std::signal(SIGHUP, onTerminationSignal);
    }
    // The session manager ends the session: a running count is logged without questions.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [&program](QSessionManager&) {
        program.Close(true);
    });

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!program.Start(vestrel::StartMode(), arguments))
        return 0;
    return QApplication::exec();
}
