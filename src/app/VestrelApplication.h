#pragma once

#include <QApplication>

namespace vestrel {

// The application object: every exception that escapes an event handler goes to the program's
// exception reporter instead of ending the process.
class VestrelApplication : public QApplication {
public:
    VestrelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vestrel
