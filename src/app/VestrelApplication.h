#pragma once

#include <QApplication>

#include <functional>

namespace vestrel {

// Runs one delivery of an event; an exception that escapes it goes to the program's exception
// reporter with the receiver as sender, and the event counts as not handled.
bool DeliverReportingExceptions(QObject* receiver, const std::function<bool()>& deliver);

// The application object: every exception that escapes an event handler goes to the program's
// exception reporter instead of ending the process.
class VestrelApplication : public QApplication {
public:
    VestrelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vestrel
