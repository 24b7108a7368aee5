#include "VestrelApplication.h"

#include "ExceptionReport.h"

#include "common/VestrelError.h"

#include <exception>

namespace vestrel {

VestrelApplication::VestrelApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The program lives in its tray icon and its floating window: hiding that window, or closing
    // a dialog, must not end it.
    setQuitOnLastWindowClosed(false);
}

bool DeliverReportingExceptions(QObject* receiver, const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const VestrelError& e) {
        ReportException(receiver, e.message());
    } catch (const std::exception& e) {
        ReportException(receiver, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool VestrelApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverReportingExceptions(receiver, [&] { return QApplication::notify(receiver, event); });
}

} // namespace vestrel
